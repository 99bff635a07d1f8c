#!/usr/bin/env bash
# The browser build (make web) end to end in headless Chromium: see tests/web/play_in_browser.js.
# puppeteer-core is installed once into build/web-test (npm, no browser download: the test drives
# Debian's /usr/bin/chromium).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site=${ZELU_WEB_BUILD:-$root/build/web}
modules=$root/build/web-test

[ -f "$site/index.html" ] && [ -f "$site/zelu-line.wasm" ] || {
  echo "missing $site: make web first" >&2
  exit 1
}
"$root/tests/web/install_modules.sh" "$modules"
NODE_PATH=$modules/node_modules timeout 600 node "$root/tests/web/play_in_browser.js" "$site" \
  "$modules/shots"
