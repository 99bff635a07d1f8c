#!/usr/bin/env bash
# Reading a 256 x 256 bitmap file at 8 and at 24 bits with the game's loader (Arg: bits) and with
# stb_image, and the game's two data images as start-up reads them. Native build only.
source "$(dirname "$0")/../bench_lib.sh"

section "Bitmap loads, 256 x 256, the game's loader against stb_image, native build"
gbench_table "$native_build/bench/bitmap_load_bench"
section_end "Time per file read and decoded into 24-bit RGB; median of five runs."
