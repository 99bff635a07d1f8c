# Helpers for the sections of `make bench` (bench/sections/*.sh source this file): where the
# release builds are, a section heading, a table printer, the load average, virtual displays,
# and Google Benchmark programs as tables.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/xvfb_lib.sh"
native_build=${ZELU_BENCH_NATIVE:-$root/build/release}
windows_build=${ZELU_BENCH_WINDOWS:-$root/build/windows}
# A Wine prefix of our own, apart from the tests' prefixes and other Wine users.
export ZELU_WINEPREFIX=${ZELU_BENCH_WINEPREFIX:-$root/build/wineprefix-bench}
bench_work=$(mktemp -d)
bench_displays=()

bench_cleanup() {
  local pid
  for pid in "${bench_displays[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  if [ -f "$ZELU_WINEPREFIX/system.reg" ]; then
    WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
  fi
  rm -rf "$bench_work"
}
trap bench_cleanup EXIT

# The 1-minute load average now.
load_now() { cut -d' ' -f1 /proc/loadavg; }

# Starts a section: its title, and the load average as it begins (for `section_end`).
section() {
  section_load=$(load_now)
  printf '\n## %s\n\n' "$1"
}

# Ends a section with the load average beside its table: before and after the measurement.
# $1, optional: a note on how the figures were taken.
section_end() {
  printf '\nload average (1 min) %s before, %s after, on %s cores\n' \
    "$section_load" "$(load_now)" "$(nproc)"
  [ -z "${1:-}" ] || printf '%s\n' "$1" | fold -s -w 100 | sed 's/ *$//'
}

# Prints tab-separated rows from standard input as a table: the first row is the header; the
# first column is aligned left, the others right.
print_table() {
  awk -F'\t' '
    { rows[NR] = $0; if (NF > columns) columns = NF
      for (i = 1; i <= NF; i++) if (length($i) > width[i]) width[i] = length($i) }
    END {
      for (r = 1; r <= NR; r++) {
        n = split(rows[r], cell, "\t"); line = ""
        for (i = 1; i <= columns; i++) {
          value = i <= n ? cell[i] : ""
          line = line (i == 1 ? sprintf("%-" width[i] "s", value) : sprintf("  %" width[i] "s", value))
        }
        print line
        if (r == 1) { rule = ""; for (i = 1; i <= columns; i++) rule = rule (i == 1 ? "" : "  ") \
          sprintf("%" width[i] "s", ""); gsub(/ /, "-", rule); print rule }
      }
    }'
}

# The value of field $1 in a line of `name=value` fields ($2).
# Windows programs under Wine end their lines with a carriage return.
field() { tr ' \r' '\n\n' <<<"$2" | sed -n "s/^$1=//p"; }

# Starts a virtual display of geometry $1 (e.g. 640x480x16) on a free number and sets DISPLAY.
start_display() {
  local started=0
  xvfb_start "$1" "$bench_work/display-$RANDOM" || started=1
  bench_displays+=("$xvfb_pid")
  [ "$started" -eq 0 ] || { echo "Xvfb $1 did not start" >&2; return 1; }
}

# Ends the display started last, and the Wine session that met it.
stop_display() {
  local last=$((${#bench_displays[@]} - 1))
  [ "$last" -ge 0 ] || return 0
  if [ -f "$ZELU_WINEPREFIX/system.reg" ]; then
    WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
    WINEPREFIX=$ZELU_WINEPREFIX wineserver -w 2>/dev/null
  fi
  kill "${bench_displays[last]}" 2>/dev/null
  wait "${bench_displays[last]}" 2>/dev/null
  unset "bench_displays[last]"
}

# Runs a Windows program under Wine in the bench prefix, making the prefix first if need be.
wine_run() { "$root/cmake/wine_run.sh" "$@"; }

# column_stats FILE COLUMN: the median of a column of numbers in FILE (of an even count, the mean
# of the middle two), its least and most value and the count, on one line; nothing for no numbers.
column_stats() {
  awk -v column="$2" '{ v[++n] = $column + 0 } END {
    if (n == 0) exit
    for (i = 2; i <= n; i++)
      for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    print (n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2), v[1], v[n], n }' "$1"
}

# ratio A B: A / B to two decimals, or nothing when B is not above 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b }'; }

# The floor program and the game probe of each build, as commands.
native_floor() { "$native_build/bench/floor_probe" "$@"; }
native_game() { "$native_build/bench/frame_pace_probe" "$@"; }
wine_floor() { wine_run "$windows_build/bench/floor_probe.exe" "$@"; }
wine_game() { wine_run "$windows_build/bench/frame_pace_probe.exe" "$@"; }

# Runs the Google Benchmark program $1 (further arguments go to it) five times over and prints
# one table row per benchmark: the median real and CPU time per iteration, the spread of the
# real time (standard deviation over mean) and the number of runs.
gbench_table() {
  local program=$1
  shift
  local csv="$bench_work/gbench.csv"
  if ! "$program" --benchmark_format=csv --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@" >"$csv" 2>"$bench_work/gbench.err"; then
    echo "$(basename "$program") failed:" >&2
    cat "$bench_work/gbench.err" >&2
    return 1
  fi
  awk -F, '
    NR == 1 { for (i = 1; i <= NF; i++) column[$i] = i; next }
    { gsub(/"/, "") }
    $1 ~ /_(median|mean|stddev)$/ {
      name = $1; sub(/_[a-z]+$/, "", name); sub(/\/(process_time|real_time)/, "", name)
      if (!(name in seen)) { seen[name] = 1; order[++count] = name }
      if ($1 ~ /_median$/) {
        real[name] = $column["real_time"]; cpu[name] = $column["cpu_time"]
        unit[name] = $column["time_unit"]; runs[name] = $column["iterations"]
      } else if ($1 ~ /_mean$/) mean[name] = $column["real_time"]
      else deviation[name] = $column["real_time"]
    }
    END {
      print "benchmark\tmedian\tCPU\tunit\tspread\truns"
      for (i = 1; i <= count; i++) { n = order[i]
        printf "%s\t%.3f\t%.3f\t%s\t%.1f%%\t%s\n", n, real[n], cpu[n], unit[n],
          (mean[n] > 0 ? 100 * deviation[n] / mean[n] : 0), runs[n] }
    }' "$csv" | print_table
}
