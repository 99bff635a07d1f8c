#!/usr/bin/env bash
# The real game loop of both builds on the real clock: frame_pace_probe runs WinMain for 1,000
# frame periods on a 640x480x16 virtual display of its own (Wine for the Windows build) and
# reports the period's median, 99th percentile and maximum, and the CPU time the process used
# (every thread) per second of play. A row is one `pace_row` line. Each build runs twice: with its
# frame wait as shipped (asleep on a waitable timer, or under Wine on its delay, spinning only the
# last stretch) and with those taken away, when the wait spins the whole frame as it did before.
source "$(dirname "$0")/../bench_lib.sh"

# pace_row LABEL WAIT FLOOR COMMAND...: one run of a probe on a fresh display, as a table row;
# WAIT is `sleep` (the game as shipped), `spin` (the old wait) or `floor` (the floor program);
# FLOOR is the floor's CPU figures to compare with (per second, per frame), or -. Sets pace_cpu to
# the row's CPU figures.
pace_row() {
  local label=$1 wait=$2 floor=$3 line ratio= frame_ratio=
  shift 3
  pace_cpu=
  start_display 640x480x16 || return 1
  line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$@" 1000 "$wait" 2>"$bench_work/pace.log")
  stop_display
  if [ -z "$(field median_ms "$line")" ]; then
    printf '%s\tfailed: %s\n' "$label" "$(grep -v '^ALSA lib' "$bench_work/pace.log" | tail -1)"
    return
  fi
  pace_cpu="$(field cpu_per_s "$line") $(field cpu_ms_per_frame "$line")"
  if [ "$floor" != - ] && [ -n "$floor" ]; then
    read -r ratio frame_ratio < <(awk -v a="$pace_cpu" -v b="$floor" 'BEGIN {
      split(a, game, " "); split(b, base, " ")
      for (i = 1; i <= 2; i++) ratio[i] = base[i] > 0 ? sprintf("%.2f", game[i] / base[i]) : "-"
      print ratio[1], ratio[2] }')
  fi
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$label" "$wait" "$(field median_ms "$line")" \
    "$(field p99_ms "$line")" "$(field max_ms "$line")" "$(field cpu_per_s "$line")" "$ratio" \
    "$(field cpu_ms_per_frame "$line")" "$frame_ratio"
}

section "Frame period over 1,000 real-clock frames, and CPU time per second of play"
{
  printf 'build\twait\tmedian ms\tp99 ms\tmax ms\tCPU s per s\tvs floor\tCPU ms per frame\tvs floor\n'
  pace_row "native" floor - "$native_build/bench/floor_probe"
  floor=$pace_cpu
  pace_row native sleep "$floor" "$native_build/bench/frame_pace_probe"
  pace_row native spin "$floor" "$native_build/bench/frame_pace_probe"
  pace_row "windows (Wine)" floor - wine_run "$windows_build/bench/floor_probe.exe"
  floor=$pace_cpu
  pace_row "windows (Wine)" sleep "$floor" wine_run "$windows_build/bench/frame_pace_probe.exe"
  pace_row "windows (Wine)" spin "$floor" wine_run "$windows_build/bench/frame_pace_probe.exe"
} | print_table
section_end "The game aims at one frame per 10 ms. CPU: the process, all threads; under Wine the \
wineserver's share is not counted. The floor: 200 textured 20 x 20 quads a frame on the same platform, \
paced to 10 ms by an absolute sleep to 0.3 ms before the frame's end and a spin. Under Wine the \
floor's timer wakes up to 1 ms late and its frames outlast 10 ms, so it presents fewer frames a \
second than the game: the CPU per frame compares the work alike."
