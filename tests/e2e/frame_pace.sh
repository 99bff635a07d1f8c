#!/usr/bin/env bash
# The frame pace of both builds, measured in the same run: each build's frame_pace_probe runs the
# real WinMain loop for 1,000 frames and more on a 640x480x16 virtual display of its own (Wine for
# the Windows build) and prints the frame period (median, 99th percentile, maximum) and the time
# from its start to the first presented frame. The median must lie within 1% of 10 ms natively;
# under Wine within 2%, since every pass's PeekMessageA, which comes on top of the 10 ms counted
# from the frame's first clock reading, costs some 65 us through the wineserver there (about 1 us
# on Windows). The 99th percentile (target under 10.5 ms) and the first frame (target under
# 300 ms natively) are reported, since a shared machine's other load shows in them.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
native_build=${ZELU_NATIVE_BUILD:-$root/build/native}
windows_build=${ZELU_WINDOWS_BUILD:-$root/build/windows}
export ZELU_WINEPREFIX=$root/build/wineprefix-e2e
work=$(mktemp -d)
xvfb=

cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_display() {
  Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(cat "$work/display")"
}

stop_display() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=
  : >"$work/display"
}

cd "$root" || exit 1
failed=0
for build in native windows; do
  start_display
  if [ "$build" = native ]; then
    SDL_AUDIODRIVER=dummy "$native_build/tests/app/frame_pace_probe" native 0.01 2>"$work/log"
    status=$?
  else
    cmake/wine_run.sh "$windows_build/tests/app/frame_pace_probe.exe" windows 0.02 2>"$work/log"
    status=$?
    WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL: $build frame pace (status $status)" >&2
    grep -v '^ALSA lib' "$work/log" >&2
    failed=1
  fi
  stop_display
done
exit "$failed"
