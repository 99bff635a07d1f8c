#!/usr/bin/env bash
# The native platform's calls that the game makes every frame or at start-up, beside the SDL or
# POSIX call each stands on, in the release build (no test controls linked). Native build only.
source "$(dirname "$0")/../bench_lib.sh"

section "Platform calls against the SDL and POSIX calls under them, native build"
gbench_table "$native_build/bench/platform_call_bench"
section_end "CPU time per call; median of five runs. Each hooked call asks one null pointer of \
the test controls' seam before it reaches the call beside it."
