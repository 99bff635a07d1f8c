#!/usr/bin/env bash
# A whole frame's drawing, DrawFrame followed by glFinish, with a snake of length 1 and of 167
# (and the completed screen), on the software renderer of a 640x480x24 virtual display. Native
# build only: Google Benchmark has no Windows package here.
source "$(dirname "$0")/../bench_lib.sh"

section "DrawFrame + glFinish, native build"
start_display 640x480x24 || exit 1
gbench_table "$native_build/bench/scene_bench"
renderer=$(sed -n 's/^renderer: //p' "$bench_work/gbench.err")
stop_display
section_end "Time per frame on ${renderer:-an unknown renderer}; median of five runs. CPU: every thread of the process, the renderer's included."
