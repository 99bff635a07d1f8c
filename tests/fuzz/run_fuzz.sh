#!/bin/sh
# Runs the bitmap reader's fuzz target for a number of seconds on a fresh corpus copied from the
# BMP suite. Usage: run_fuzz.sh FUZZER SUITE_DIR WORK_DIR SECONDS
set -eu
fuzzer=$1 suite=$2 work=$3 seconds=$4
rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/artifacts"
for folder in g q b; do
  for file in "$suite/$folder"/*.bmp; do
    cp "$file" "$work/corpus/$folder-$(basename "$file")"
  done
done
exec "$fuzzer" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
