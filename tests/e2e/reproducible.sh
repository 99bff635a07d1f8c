#!/usr/bin/env bash
# Reproducible builds: the packages that make test built (the .deb, the Windows exe, zip and
# installer, the web zip) are built a second time from a copy of the tree in another folder, with
# other file modes, in another time zone and on a clock set a year and a month on, with make's
# own targets and only the builds they need, and must come out byte for byte the same. Where two differ, diffoscope
# shows how (the first differing byte where it is not installed). Then the packages are made
# once more with SOURCE_DATE_EPOCH a day later, and the zips and the .deb must differ: the
# comparison sees a time stamp that changes.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
packages=${ZELU_PACKAGE_DIR:-$root/build}
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
work=$(mktemp -d "${TMPDIR:-/tmp}/zelu-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL $*" >&2
  exit 1
}

version=$(sed -n 's/^project(zelu_line VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
artifacts=("zelu-line_${version}_amd64.deb" "windows/zelu-line.exe"
  "zelu-line-$version-windows.zip" "zelu-line-$version-windows-setup.exe"
  "zelu-line-$version-web.zip")
for artifact in "${artifacts[@]}"; do
  [ -f "$packages/$artifact" ] || fail "missing $packages/$artifact: make package windows web first"
done

# The tree as it is, committed or not, without its builds; its files group-writable, as a
# checkout under umask 002 or an unpacked git archive has them.
mkdir "$work/zelu-line"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$work/zelu-line" ||
  fail "could not copy the tree"
chmod -R g+w "$work/zelu-line"

clock=(env TZ=Pacific/Kiritimati)
command -v faketime >/dev/null && clock+=(faketime -f +395d)
echo "second build in $work/zelu-line with SOURCE_DATE_EPOCH=$epoch, the clock at" \
  "$("${clock[@]}" date '+%F %T %Z')"
started=$SECONDS
"${clock[@]}" make -C "$work/zelu-line" package windows web TESTS=OFF SOURCE_DATE_EPOCH="$epoch" \
  >"$work/build.log" 2>&1 || {
  tail -40 "$work/build.log" >&2
  fail "the second build failed"
}
echo "second build: $((SECONDS - started)) s"

# same FIRST SECOND: 0 when the files are the same, else shows where they differ and returns 1.
same() {
  cmp -s "$1" "$2" && return 0
  if command -v diffoscope >/dev/null; then
    diffoscope --no-progress --text - "$1" "$2" 2>&1 | head -60
  else
    cmp "$1" "$2" | head -1
  fi
  return 1
}

failures=0
printf '%-64s  %-64s  %s\n' "sha256, make test's build" "sha256, second build" file
for artifact in "${artifacts[@]}"; do
  first=$packages/$artifact
  second=$work/zelu-line/build/$artifact
  [ -f "$second" ] || fail "the second build made no $artifact"
  printf '%-64s  %-64s  %s\n' "$(sha256sum <"$first" | cut -d' ' -f1)" \
    "$(sha256sum <"$second" | cut -d' ' -f1)" "$artifact"
  if ! same "$first" "$second"; then
    echo "FAIL $artifact differs between the two builds" >&2
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || fail "$failures of ${#artifacts[@]} packages differ"
echo "all ${#artifacts[@]} packages are the same in both builds"

# A time stamp planted: only the packaging steps run again, a day later by SOURCE_DATE_EPOCH.
"${clock[@]}" make -C "$work/zelu-line" package windows web TESTS=OFF \
  SOURCE_DATE_EPOCH="$((epoch + 86400))" >"$work/planted.log" 2>&1 || {
  tail -40 "$work/planted.log" >&2
  fail "the build with SOURCE_DATE_EPOCH a day later failed"
}
for artifact in "zelu-line_${version}_amd64.deb" "zelu-line-$version-windows.zip" \
  "zelu-line-$version-web.zip"; do
  shown=$(same "$packages/$artifact" "$work/zelu-line/build/$artifact") &&
    fail "$artifact is the same with SOURCE_DATE_EPOCH a day later: the comparison is blind"
  [ -n "$shown" ] || fail "no difference shown for $artifact"
  echo "SOURCE_DATE_EPOCH a day later changes $artifact; shown as: $(head -3 <<<"$shown" |
    tr -s ' \n' ' ')"
done
echo "reproducible: passed"
