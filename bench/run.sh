#!/usr/bin/env bash
# `make bench`: prints the figures we track, one table per section, each with the machine's load
# average beside it, from the release builds (build/release, build/windows). Each
# bench/sections/*.sh is a section, run in the order of its name; a new figure is a row in a
# section or a new file there, with the helpers of bench/bench_lib.sh. Wall-clock figures live
# here, never in `make test`. Usage: bench/run.sh [SECTION-NAME-PATTERN]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pattern=${1:-}

printf '# zelu-line bench, %s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
printf 'commit %s; %s; %s cores; load average %s\n' \
  "$(git -C "$root" describe --always --dirty 2>/dev/null || echo unknown)" \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)" "$(nproc)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"

failed=0
for script in "$root"/bench/sections/*.sh; do
  [[ "$(basename "$script")" == *"$pattern"* ]] || continue
  if ! bash "$script"; then
    echo "(section $(basename "$script") failed)"
    failed=1
  fi
done
exit "$failed"
