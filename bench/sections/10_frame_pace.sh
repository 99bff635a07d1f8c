#!/usr/bin/env bash
# The real game loop of both builds on the real clock: frame_pace_probe runs WinMain for 1,000
# frame periods on a 640x480x16 virtual display of its own (Wine for the Windows build) and
# reports the period's median, 99th percentile and maximum, and the CPU time the process used
# (every thread) per second of play. A row is one `pace_row` line.
source "$(dirname "$0")/../bench_lib.sh"

# pace_row LABEL COMMAND...: one run of a probe on a fresh display, as a table row.
pace_row() {
  local label=$1 line
  shift
  start_display 640x480x16 || return 1
  line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$@" 1000 2>"$bench_work/pace.log")
  stop_display
  if [ -z "$(field median_ms "$line")" ]; then
    printf '%s\tfailed: %s\n' "$label" "$(grep -v '^ALSA lib' "$bench_work/pace.log" | tail -1)"
    return
  fi
  printf '%s\t%s\t%s\t%s\t%s\n' "$label" "$(field median_ms "$line")" "$(field p99_ms "$line")" \
    "$(field max_ms "$line")" "$(field cpu_per_s "$line")"
}

section "Frame period over 1,000 real-clock frames, and CPU time per second of play"
{
  printf 'build\tmedian ms\tp99 ms\tmax ms\tCPU s per s\n'
  pace_row native "$native_build/bench/frame_pace_probe"
  pace_row "windows (Wine)" wine_run "$windows_build/bench/frame_pace_probe.exe"
} | print_table
section_end "The game aims at one frame per 10 ms. CPU: the game's process, all threads; under \
Wine the wineserver's share is not counted."
