#!/bin/sh
# The native entry: --version and --help answer on standard output without reaching WinMain, and
# the Data/ folder is taken from the current directory, else beside the program, else from the
# installed data folder (found from the program's folder, so a moved tree works), else nowhere
# with one line on standard error naming the folders tried.
# Usage: entry_data_lookup.sh ENTRY_PROBE VERSION DATA_FROM_EXE
set -u
probe=$1 version=$2 data_from_exe=$3
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, then the command that must succeed
  description=$1
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; failures=$((failures + 1)); fi
}
with_data() { mkdir -p "$1/Data" && : >"$1/Data/Font.bmp"; }

# The program's own folder and an installed tree: prefix/bin/probe, prefix/<data>/Data.
mkdir -p "$work/beside" "$work/tree/bin" "$work/elsewhere" "$work/here"
cp "$probe" "$work/beside/probe"
cp "$probe" "$work/tree/bin/probe"
with_data "$work/beside"
with_data "$work/tree/bin/$data_from_exe"
with_data "$work/here"
installed=$(cd "$work/tree/bin/$data_from_exe" && pwd -P)

out=$(cd "$work/elsewhere" && "$work/beside/probe" --version 2>&1)
check "--version prints the version only, exit 0" [ $? -eq 0 -a "$out" = "zelu-line $version" ]
out=$(cd "$work/elsewhere" && "$work/beside/probe" --help 2>/dev/null)
check "--help prints the usage and the keys, exit 0" \
  sh -c '[ $0 -eq 0 ] && echo "$1" | grep -q "^Usage: zelu-line" && echo "$1" | grep -q Escape &&
         ! echo "$1" | grep -q WinMain' $? "$out"

out=$(cd "$work/here" && "$work/beside/probe" where 2>&1)
check "Data/ in the current directory wins" [ "$out" = "WinMain in $work/here" ]
out=$(cd "$work/elsewhere" && "$work/beside/probe" where 2>&1)
check "else Data/ beside the program" [ "$out" = "WinMain in $work/beside" ]
out=$(cd "$work/elsewhere" && "$work/tree/bin/probe" where 2>&1)
check "else the installed data folder" [ "$out" = "WinMain in $installed" ]
mv "$work/tree" "$work/moved"
installed=$(cd "$work/moved/bin/$data_from_exe" && pwd -P)
out=$(cd "$work/elsewhere" && "$work/moved/bin/probe" where 2>&1)
check "a moved installed tree still finds its data" [ "$out" = "WinMain in $installed" ]

rm -rf "$installed/Data"
out=$(cd "$work/elsewhere" && "$work/moved/bin/probe" where 2>"$work/stderr")
err=$(cat "$work/stderr")
check "without any Data/, WinMain still runs in the current directory" \
  [ "$out" = "WinMain in $work/elsewhere" ]
check "and one line on standard error names the three folders tried" sh -c '
  [ "$(printf "%s\n" "$0" | wc -l)" -eq 1 ] &&
  case "$0" in *"Data/Font.bmp"*"$1"*"$2"*"$3"*) true ;; *) false ;; esac' \
  "$err" "$work/elsewhere" "$work/moved/bin" "$installed"
echo "$err"
[ "$failures" -eq 0 ]
