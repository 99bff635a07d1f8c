#!/usr/bin/env bash
# Start-up of both builds: from launching the program to its first presented frame, over 21
# launches on one 640x480x16 virtual display. frame_pace_probe notes the wall-clock moment its
# first SwapBuffers returns, the frame presented: the software renderer draws what a program left
# queued inside the swap. The launch is the moment before this script starts it. Each build's floor
# (floor_probe: the least program of the platform that shows one frame) runs on the same display,
# windowed and fullscreen (as the game starts here, the display having the 640x480 mode). The three
# launch in turns, after one uncounted launch of each (under Wine that one starts the Wine session,
# which the counted ones then share), so that what the machine is doing weighs on all three alike;
# the last columns are the game's median against each floor's.
source "$(dirname "$0")/../bench_lib.sh"

launches=${FIRST_FRAME_LAUNCHES:-21}

# launch NAME COMMAND [fullscreen]: one launch to the first frame; appends to
# $bench_work/NAME.launch the time from the launch (in tenths of a millisecond) and from the
# program's main() (in ms), or its error to first.log.
launch() {
  local name=$1 command=$2 launched line
  shift 2
  launched=$(($(date +%s%N) / 1000))
  line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$command" 0 "$@" 2>>"$bench_work/first.log")
  [ -n "$(field first_frame_epoch_us "$line")" ] || return
  local tenths_from_launch=$((($(field first_frame_epoch_us "$line") - launched) / 100))
  echo "$tenths_from_launch $(field first_frame_ms "$line")" >>"$bench_work/$name.launch"
}

# A number of tenths of a millisecond in milliseconds, to one decimal.
tenths() { awk -v v="$1" 'BEGIN { printf "%.1f", v / 10 }'; }

# first_frame_row LABEL NAME [WINDOWED-NAME FULLSCREEN-NAME]: the row of NAME's launches: the
# median, least and most from the launch, the median from main(), and the median against the
# floors' medians. Launch figures are in tenths of a millisecond.
first_frame_row() {
  local label=$1 file=$bench_work/$2.launch median least most count from_main skip
  local windowed=${3:+$bench_work/$3.launch} fullscreen=${4:+$bench_work/$4.launch} floor
  if [ ! -s "$file" ]; then
    printf '%s\tfailed: %s\n' "$label" "$(grep -v '^ALSA lib' "$bench_work/first.log" | tail -1)"
    return
  fi
  read -r median least most count < <(column_stats "$file" 1)
  read -r from_main skip < <(column_stats "$file" 2)
  printf '%s\t%s\t%s\t%s\t%s\t%s' "$label" "$count" "$(tenths "$median")" "$(tenths "$least")" \
    "$(tenths "$most")" "$(awk -v v="$from_main" 'BEGIN { printf "%.1f", v }')"
  for floor in "$windowed" "$fullscreen"; do
    printf '\t%s' "${floor:+$(ratio "$median" "$(column_stats "$floor" 1 | cut -d' ' -f1)")}"
  done
  printf '\n'
}

# first_frames LABEL FLOOR GAME: the three rows of one build; FLOOR and GAME are commands
# (native_floor and the like, of bench_lib.sh).
first_frames() {
  local label=$1 floor=$2 game=$3 i
  rm -f "$bench_work"/*.launch
  start_display 640x480x16 || return 1
  (cd "$root" && SDL_AUDIODRIVER=dummy "$floor" 0; SDL_AUDIODRIVER=dummy "$floor" 0 fullscreen
    SDL_AUDIODRIVER=dummy "$game" 0) >/dev/null 2>&1 # warm-up, not counted
  for ((i = 0; i < launches; i++)); do
    launch floor "$floor"
    launch floor-fullscreen "$floor" fullscreen
    launch game "$game"
  done
  stop_display
  first_frame_row "$label floor" floor
  first_frame_row "$label floor, fullscreen" floor-fullscreen
  first_frame_row "$label" game floor floor-fullscreen
}

section "Start to first presented frame"
{
  printf 'build\tlaunches\tmedian ms\tleast ms\tmost ms\tfrom main() ms\tvs floor\tvs fullscreen floor\n'
  first_frames native native_floor native_game
  first_frames "windows (Wine)" wine_floor wine_game
} | print_table
section_end "From launching the program to the return of its first SwapBuffers; 'from main()' \
counts from the program's main() (under Wine, after Wine has loaded it). The floor opens a \
window, makes its context and presents one frame; the game starts fullscreen here, and SDL \
(natively) waits up to 100 ms for a window manager to answer a fullscreen window, which is why \
the fullscreen floor is the like-for-like one. The floor and the game launch in turns."
