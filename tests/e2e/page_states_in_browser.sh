#!/usr/bin/env bash
# What the browser build's page says when its files cannot be had, without WebGL, and on a normal
# load, in headless Chromium: see tests/web/page_states.js (after make web).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site=${ZELU_WEB_BUILD:-$root/build/web}
modules=$root/build/web-test

[ -f "$site/index.html" ] && [ -f "$site/zelu-line.wasm" ] || {
  echo "missing $site: make web first" >&2
  exit 1
}
"$root/tests/web/install_modules.sh" "$modules"
NODE_PATH=$modules/node_modules timeout 600 node "$root/tests/web/page_states.js" "$site" \
  "$modules/shots"
