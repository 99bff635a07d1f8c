#!/usr/bin/env bash
# Runs every test: the native tests (sanitizer build), the Windows tests under Wine, and the
# end-to-end scripts against the real binaries, all on one virtual X display.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# A free display number for our Xvfb.
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
# Wine's server for the tests' own prefix (cmake/wine_run.sh) ends with them; other Wine sessions
# on the machine are left alone.
trap 'kill $xvfb_pid 2>/dev/null; WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true' EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

passed=0
failed=0
stage() {
  local name=$1
  shift
  echo "=== $name"
  local started=$SECONDS
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name: passed in $((SECONDS - started)) s"
  else
    failed=$((failed + 1))
    echo "=== $name: FAILED after $((SECONDS - started)) s"
  fi
}

stage "native tests (AddressSanitizer, UndefinedBehaviorSanitizer)" \
  ctest --test-dir build/asan --output-on-failure --timeout 300
stage "Windows tests (Wine)" ctest --test-dir build/windows --output-on-failure --timeout 300
for script in tests/e2e/*.sh; do
  [ -x "$script" ] || continue
  stage "end to end: $(basename "$script")" "$script"
done

echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
