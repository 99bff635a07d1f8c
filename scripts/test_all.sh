#!/usr/bin/env bash
# Runs every test: the native tests (sanitizer build), the Windows tests under Wine, and the
# end-to-end scripts against the real binaries, all on one virtual X display.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source "$root/scripts/xvfb_lib.sh"
display_file=$(mktemp)
xvfb_start 640x480x24 "$display_file" ||
  echo "Xvfb did not start: the tests that need a display will fail" >&2
rm -f "$display_file"
# Wine's server for the tests' own prefix (cmake/wine_run.sh) ends with them; other Wine sessions
# on the machine are left alone.
trap 'kill $xvfb_pid 2>/dev/null; WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true' EXIT

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
