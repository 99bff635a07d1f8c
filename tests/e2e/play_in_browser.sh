#!/usr/bin/env bash
# The browser build (make web) end to end in headless Chromium: see tests/web/play_in_browser.js.
# What is played is the web zip as a host gets it: build/zelu-line-VERSION-web.zip, which must
# hold every file of build/web with index.html at its root, unzipped into a fresh folder and
# served from there (ZELU_WEB_BUILD=DIR plays a site folder instead). puppeteer-core is installed
# once into build/web-test (npm, no browser download: the test drives Debian's /usr/bin/chromium).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
modules=$root/build/web-test

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
"$root/tests/web/install_modules.sh" "$modules"
NODE_PATH=$modules/node_modules timeout 600 node "$root/tests/web/play_in_browser.js" "$site" \
  "$modules/shots"
