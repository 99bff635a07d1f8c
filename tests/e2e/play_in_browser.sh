#!/usr/bin/env bash
# The browser build (make web) end to end in headless Chromium: see tests/web/play_in_browser.js.
# puppeteer-core is installed once into build/web-test (npm, no browser download: the test drives
# Debian's /usr/bin/chromium). The native build's render test (make native) draws the first frame
# of a game that the browser's first frame is compared with, on the display in DISPLAY or on a
# virtual one of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site=${ZELU_WEB_BUILD:-$root/build/web}
native_build=${ZELU_NATIVE_BUILD:-$root/build/native}
modules=$root/build/web-test
render_tests=$native_build/tests/render/render_tests

[ -f "$site/index.html" ] && [ -f "$site/zelu-line.wasm" ] || {
  echo "missing $site: make web first" >&2
  exit 1
}
[ -x "$render_tests" ] || {
  echo "missing $render_tests: make native first" >&2
  exit 1
}
"$root/tests/web/install_modules.sh" "$modules"
mkdir -p "$modules/shots"
native_frame=$modules/shots/native-first-frame.ppm
if [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/xvfb_lib.sh"
  display_file=$(mktemp)
  xvfb_start 640x480x24 "$display_file" || {
    echo "Xvfb did not start" >&2
    exit 1
  }
  rm -f "$display_file"
  trap 'kill $xvfb_pid 2>/dev/null' EXIT
fi
rm -f "$native_frame"
ZELU_FIRST_FRAME_PICTURE=$native_frame timeout 120 "$render_tests" \
  --gtest_filter='RealDataTest.TheFirstFrameOfAGame*' >"$modules/shots/native-first-frame.log" ||
  {
    cat "$modules/shots/native-first-frame.log"
    exit 1
  }
NODE_PATH=$modules/node_modules timeout 600 node "$root/tests/web/play_in_browser.js" "$site" \
  "$modules/shots" "$native_frame"
