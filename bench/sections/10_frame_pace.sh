#!/usr/bin/env bash
# The real game loop of both builds on the real clock: frame_pace_probe runs WinMain for 1,000
# frame periods on a 640x480x16 virtual display of its own (Wine for the Windows build) and
# reports the period's median, 99th percentile and maximum, and the CPU time the process used
# (every thread) per second of play and per frame. The game with its frame wait as shipped
# (asleep on a waitable timer, or under Wine on its delay, spinning only the last stretch) and the
# floor program run in turns, PACE_ROUNDS times each, and each row gives the median of each
# figure over its runs (the maximum: the largest): a single run's CPU time moves by a fifth with
# the software renderer's threads. The old wait, which spins the whole frame, runs once.
source "$(dirname "$0")/../bench_lib.sh"
rounds=${PACE_ROUNDS:-3}

# pace_run WAIT COMMAND...: one run of a probe on a fresh display; appends its figures to
# $bench_work/WAIT.runs as one line (median p99 max cpu_per_s cpu_ms_per_frame), or its error to
# $bench_work/WAIT.error.
pace_run() {
  local wait=$1 line
  shift
  start_display 640x480x16 || return 1
  line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$@" 1000 "$wait" 2>"$bench_work/pace.log")
  stop_display
  if [ -z "$(field median_ms "$line")" ]; then
    grep -v '^ALSA lib' "$bench_work/pace.log" | tail -1 >"$bench_work/$wait.error"
    return
  fi
  echo "$(field median_ms "$line") $(field p99_ms "$line") $(field max_ms "$line") \
$(field cpu_per_s "$line") $(field cpu_ms_per_frame "$line")" >>"$bench_work/$wait.runs"
}

# A number to three decimals.
thousandths() { awk -v v="$1" 'BEGIN { printf "%.3f", v }'; }

# pace_row LABEL WAIT [FLOOR-WAIT]: the table row of WAIT's runs, with its CPU figures' ratios to
# those of FLOOR-WAIT's runs.
pace_row() {
  local label=$1 wait=$2 runs=$bench_work/$2.runs floor=${3:+$bench_work/$3.runs}
  local median p99 max cpu frame count cpu_ratio= frame_ratio= skip
  if [ ! -s "$runs" ]; then
    printf '%s\t%s\tfailed: %s\n' "$label" "$wait" "$(cat "$bench_work/$wait.error" 2>/dev/null)"
    return
  fi
  read -r median skip skip count < <(column_stats "$runs" 1)
  read -r p99 skip < <(column_stats "$runs" 2)
  read -r skip skip max skip < <(column_stats "$runs" 3)
  read -r cpu skip < <(column_stats "$runs" 4)
  read -r frame skip < <(column_stats "$runs" 5)
  if [ -n "$floor" ] && [ -s "$floor" ]; then
    cpu_ratio=$(ratio "$cpu" "$(column_stats "$floor" 4 | cut -d' ' -f1)")
    frame_ratio=$(ratio "$frame" "$(column_stats "$floor" 5 | cut -d' ' -f1)")
  fi
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$label" "$wait" "$count" \
    "$(thousandths "$median")" "$(thousandths "$p99")" "$(thousandths "$max")" \
    "$(thousandths "$cpu")" "$cpu_ratio" "$(thousandths "$frame")" "$frame_ratio"
}

# pace_build LABEL FLOOR GAME: the floor and the game's two waits, for one build; FLOOR and GAME
# are commands (native_floor and the like, of bench_lib.sh).
pace_build() {
  local label=$1 floor=$2 game=$3 round
  rm -f "$bench_work"/*.runs "$bench_work"/*.error
  for ((round = 0; round < rounds; round++)); do
    pace_run floor "$floor"
    pace_run sleep "$game"
  done
  pace_run spin "$game"
  pace_row "$label" floor
  pace_row "$label" sleep floor
  pace_row "$label" spin floor
}

section "Frame period over 1,000 real-clock frames, and CPU time per second of play"
{
  printf 'build\twait\truns\tmedian ms\tp99 ms\tmax ms\tCPU s per s\tvs floor\tCPU ms per frame\tvs floor\n'
  pace_build native native_floor native_game
  pace_build "windows (Wine)" wine_floor wine_game
} | print_table
section_end "The game aims at one frame per 10 ms. Each figure is the median over the runs (the \
maximum, the largest); floor and game run in turns. CPU: the process, all threads; under Wine the \
wineserver's share is not counted. The floor: 200 textured 20 x 20 quads a frame on the same \
platform, paced to 10 ms by a sleep to 0.3 ms before the frame's end and a spin, sleeping as the \
game does (under Wine on ntdll's delay, as Wine's timers wake up to 1 ms late)."
