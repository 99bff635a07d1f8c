#!/usr/bin/env bash
# The browser build (make web) as a web app in headless Chromium: gamepad, touch on an emulated
# phone, installability and offline play; see tests/web/web_app.js.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site=${ZELU_WEB_BUILD:-$root/build/web}
modules=$root/build/web-test

[ -f "$site/index.html" ] && [ -f "$site/sw.js" ] || {
  echo "missing $site: make web first" >&2
  exit 1
}
"$root/tests/web/install_modules.sh" "$modules"
NODE_PATH=$modules/node_modules timeout 600 node "$root/tests/web/web_app.js" "$site" \
  "$modules/shots"
