#!/usr/bin/env bash
# Start-up of both builds: from launching the program to its first presented frame, over nine
# launches on one 640x480x16 virtual display. frame_pace_probe notes the wall-clock moment of its
# first SwapBuffers; the launch is the moment before this script starts it. Under Wine a first,
# uncounted launch starts the Wine session, which the counted ones then share. Each build's
# floor (floor_probe: the least program of the platform that shows one frame) runs on the same
# display the same way, windowed and fullscreen (as the game starts here, the display having the
# 640x480 mode), and the last columns are the game's median against each floor's.
source "$(dirname "$0")/../bench_lib.sh"

launches=9

# first_frame_row LABEL WINDOWED FULLSCREEN COMMAND...: the median, least and most over the
# launches, as a row, the median of the part from the program's own start (main) to the first
# frame, and the median against the floors' medians WINDOWED and FULLSCREEN (or -). COMMAND gets
# the frame count 0 and then $mode. Sets first_median to the row's median.
first_frame_row() {
  local label=$1 windowed=$2 fullscreen=$3 launched line from_launch=() from_main=() i
  shift 3
  first_median=
  start_display 640x480x16 || return 1
  (cd "$root" && SDL_AUDIODRIVER=dummy "$@" 0 ${mode:-} >/dev/null 2>&1) # warm-up, not counted
  for ((i = 0; i < launches; i++)); do
    launched=$(($(date +%s%N) / 1000))
    line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$@" 0 ${mode:-} 2>>"$bench_work/first.log")
    [ -n "$(field first_frame_epoch_us "$line")" ] || continue
    from_launch+=("$((($(field first_frame_epoch_us "$line") - launched) / 100))")
    from_main+=("$(field first_frame_ms "$line")")
  done
  stop_display
  if [ ${#from_launch[@]} -eq 0 ]; then
    printf '%s\tfailed: %s\n' "$label" "$(grep -v '^ALSA lib' "$bench_work/first.log" | tail -1)"
    return
  fi
  # Launch figures are in tenths of a millisecond.
  local row
  row=$(printf '%s\n' "${from_launch[@]}" | sort -n | awk -v label="$label" -v windowed="$windowed" \
    -v fullscreen="$fullscreen" -v main="$(
    printf '%s\n' "${from_main[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" '
    { v[NR] = $1 / 10 }
    function ratio(floor) { return floor != "-" && floor > 0 ? sprintf("%.2f", m / floor) : "" }
    END { m = v[int((NR + 1) / 2)]
      printf "%s\t%d\t%.1f\t%.1f\t%.1f\t%s\t%s\t%s\n", label, NR, m, v[1], v[NR], main,
        ratio(windowed), ratio(fullscreen) }')
  first_median=$(cut -f3 <<<"$row")
  printf '%s\n' "$row"
}

section "Start to first presented frame"
{
  printf 'build\tlaunches\tmedian ms\tleast ms\tmost ms\tfrom main() ms\tvs floor\tvs fullscreen floor\n'
  mode= first_frame_row "native floor" - - "$native_build/bench/floor_probe"
  windowed=$first_median
  mode=fullscreen first_frame_row "native floor, fullscreen" - - "$native_build/bench/floor_probe"
  mode= first_frame_row native "$windowed" "$first_median" "$native_build/bench/frame_pace_probe"
  mode= first_frame_row "windows floor (Wine)" - - wine_run "$windows_build/bench/floor_probe.exe"
  windowed=$first_median
  mode=fullscreen first_frame_row "windows floor (Wine), fullscreen" - - wine_run \
    "$windows_build/bench/floor_probe.exe"
  mode= first_frame_row "windows (Wine)" "$windowed" "$first_median" wine_run \
    "$windows_build/bench/frame_pace_probe.exe"
} | print_table
section_end "From launching the program to its first SwapBuffers; 'from main()' counts from the \
program's main() (under Wine, after Wine has loaded it). The floor opens a window, makes its \
context and presents one frame; the game starts fullscreen here, and SDL (natively) waits up to \
100 ms for a window manager to answer a fullscreen window, which is why the fullscreen floor is \
the like-for-like one."
