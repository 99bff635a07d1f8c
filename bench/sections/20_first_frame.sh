#!/usr/bin/env bash
# Start-up of both builds: from launching the program to its first presented frame, over five
# launches on one 640x480x16 virtual display. frame_pace_probe notes the wall-clock moment of its
# first SwapBuffers; the launch is the moment before this script starts it. Under Wine a first,
# uncounted launch starts the Wine session, which the counted ones then share. Each build's
# floor (floor_probe: the least program of the platform that shows one frame) runs on the same
# display the same way, and the last column is the game's median against the floor's.
source "$(dirname "$0")/../bench_lib.sh"

launches=5

# first_frame_row LABEL FLOOR COMMAND...: the median, least and most over the launches, as a
# row, the median of the part from the program's own start (main) to the first frame, and the
# median against FLOOR (a median, or -). Sets first_median to the row's median.
first_frame_row() {
  local label=$1 floor=$2 launched line from_launch=() from_main=() i
  shift 2
  first_median=
  start_display 640x480x16 || return 1
  (cd "$root" && SDL_AUDIODRIVER=dummy "$@" 0 >/dev/null 2>&1) # warm-up, not counted
  for ((i = 0; i < launches; i++)); do
    launched=$(($(date +%s%N) / 1000))
    line=$(cd "$root" && SDL_AUDIODRIVER=dummy "$@" 0 2>>"$bench_work/first.log")
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
  row=$(printf '%s\n' "${from_launch[@]}" | sort -n | awk -v label="$label" -v floor="$floor" -v main="$(
    printf '%s\n' "${from_main[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')" '
    { v[NR] = $1 / 10 }
    END { m = v[int((NR + 1) / 2)]
      printf "%s\t%d\t%.1f\t%.1f\t%.1f\t%s\t%s\n", label, NR, m, v[1], v[NR], main,
        (floor != "-" && floor > 0 ? sprintf("%.2f", m / floor) : "") }')
  first_median=$(cut -f3 <<<"$row")
  printf '%s\n' "$row"
}

section "Start to first presented frame"
{
  printf 'build\tlaunches\tmedian ms\tleast ms\tmost ms\tfrom main() ms\tvs floor\n'
  first_frame_row "native floor" - "$native_build/bench/floor_probe"
  first_frame_row native "$first_median" "$native_build/bench/frame_pace_probe"
  first_frame_row "windows floor (Wine)" - wine_run "$windows_build/bench/floor_probe.exe"
  first_frame_row "windows (Wine)" "$first_median" wine_run "$windows_build/bench/frame_pace_probe.exe"
} | print_table
section_end "From launching the program to its first SwapBuffers; the last column counts from the \
program's main() (under Wine, after Wine has loaded it)."
