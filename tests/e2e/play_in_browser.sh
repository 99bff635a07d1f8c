#!/usr/bin/env bash
# The browser build (make web) end to end in headless Chromium: see tests/web/play_in_browser.js.
# What is played is the web zip as a host gets it: build/zelu-line-VERSION-web.zip, which must
# hold every file of build/web with index.html at its root, unzipped into a fresh folder and
# served from there (ZELU_WEB_BUILD=DIR plays a site folder instead). puppeteer-core is installed
# once into build/web-test (npm, no browser download: the test drives Debian's /usr/bin/chromium).
# The native build's render test (make native) draws the first frame of a game that the
# browser's first frame is compared with, on the display in DISPLAY or on a virtual one of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native_build=${ZELU_NATIVE_BUILD:-$root/build/native}
modules=$root/build/web-test
render_tests=$native_build/tests/render/render_tests

if [ -n "${ZELU_WEB_BUILD:-}" ]; then
  site=$ZELU_WEB_BUILD
else
  shopt -s nullglob
  zips=("$root"/build/zelu-line-*-web.zip)
  [ ${#zips[@]} -eq 1 ] || {
    echo "want one build/zelu-line-*-web.zip, found ${#zips[@]}: make web first" >&2
    exit 1
  }
  site=$(mktemp -d)
  trap 'rm -rf "$site"' EXIT
  unzip -q "${zips[0]}" -d "$site"
  if ! diff <(cd "$root/build/web" && find . -type f | sort) <(cd "$site" && find . -type f | sort) ||
    ! diff -r "$root/build/web" "$site" >/dev/null; then
    echo "FAIL $(basename "${zips[0]}") does not hold build/web as it is, at its root" >&2
    exit 1
  fi
  echo "ok   $(basename "${zips[0]}") holds build/web at its root: $(cd "$site" && ls | tr '\n' ' ')"
fi
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
  trap 'kill $xvfb_pid 2>/dev/null; [ -n "${ZELU_WEB_BUILD:-}" ] || rm -rf "$site"' EXIT
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
