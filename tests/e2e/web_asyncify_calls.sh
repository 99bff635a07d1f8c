#!/usr/bin/env bash
# The browser build's Asyncify takes a call through a pointer as one that never yields to the page
# (ASYNCIFY_IGNORE_INDIRECT in platform/web/CMakeLists.txt). That holds while no function that
# the program can call through a pointer (a function of its table: the window procedure, the GL
# extension entries, the page's event callbacks, the C library's stream functions...) is one that
# Asyncify instruments because it can yield. This links the browser build once more, in
# build/web-asyncify, with Asyncify's report and the functions' names, and checks it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/web-asyncify
export NODE_PATH=/usr/share/nodejs # Debian's emcc, whatever node comes first on the PATH

mkdir -p "$build"
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DZELU_WEB_OUTPUT="$build/site" -DZELU_ASYNCIFY_ADVISE=ON >"$build/configure.log" 2>&1 || {
  cat "$build/configure.log"
  exit 1
}
rm -f "$build/site/zelu-line.js" # the report comes with the link only
cmake --build "$build" -j 2 --target zelu-line >"$build/link.log" 2>&1 || {
  tail -30 "$build/link.log"
  exit 1
}

# "[asyncify] NAME is an import that can change the state", "[asyncify] NAME can change the
# state due to OTHER": every function that can yield, by the names the table uses too.
yielding=$(sed -n -e 's/^\[asyncify\] \(.*\) is an import that can change the state$/\1/p' \
  -e 's/^\[asyncify\] \(.*\) can change the state due to .*/\1/p' "$build/link.log" | sort -u)
table=$(wasm-dis "$build/site/zelu-line.wasm" | sed -n 's/^ *(elem [^$]*//p' | tr ' ' '\n' |
  sed -n 's/^\$\([^)]*\))*$/\1/p' | sort -u)

failed=0
check() {
  if [ "$1" = ok ]; then
    echo "ok   $2"
  else
    echo "FAIL $2"
    failed=1
  fi
}
grep -qx 'emscripten_sleep' <<<"$yielding" && grep -q '^MessageBoxA' <<<"$yielding" &&
  result=ok || result=failed
check $result "Asyncify reports the functions that can yield: $(wc -l <<<"$yielding"), among them emscripten_sleep and MessageBoxA"
grep -q '^GameWindowProc' <<<"$table" && result=ok || result=failed
check $result "the table holds the functions called through pointers: $(wc -l <<<"$table"), among them GameWindowProc"
# Names as the WebAssembly writes them ("\28" for "("), made readable.
both=$(comm -12 <(echo "$yielding") <(echo "$table") |
  sed 's/\\\([0-9a-f][0-9a-f]\)/\\x\1/g' | while read -r name; do printf '%b\n' "$name"; done)
[ -z "$both" ] && result=ok || result=failed
check $result "no function called through a pointer can yield${both:+: $(tr '\n' ';' <<<"$both")}"

[ "$failed" -eq 0 ] && echo "asyncify calls check passed"
exit "$failed"
