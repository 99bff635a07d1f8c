#!/usr/bin/env bash
# The packages as a user gets them:
#  - the .deb (make package): its desktop entry and AppStream metadata validate, lintian finds no
#    error, and unpacked into a temporary root it answers --version and, started from an
#    unrelated working directory, finds its installed data, draws its first frame, turns the
#    snake on a key and ends with 0 on Escape;
#  - the Windows zip (make windows): it holds the exe, Data/, README.txt and the licences, and
#    unpacked into a fresh folder the exe plays the same way under Wine;
#  - the Windows installer (make windows), under Wine in a fresh prefix: `setup.exe /S` puts the
#    files in Program Files, a Start menu shortcut whose working folder is the install folder and
#    an uninstall entry with the version; the game started through the shortcut plays; and
#    `uninstall.exe /S` leaves the prefix's files as they were before the install, with no
#    shortcut and no entry, while a file of the player's in the install folder stays.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/xvfb_lib.sh"
packages=${ZELU_PACKAGE_DIR:-$root/build}
probe=${ZELU_E2E_PROBE:-$root/build/native/tests/e2e/e2e_probe}
export ZELU_WINEPREFIX=$root/build/wineprefix-e2e
title="Zelu's Line Tutorial"
label=setup
helpers=()
work=$(mktemp -d)

cleanup() {
  local i
  [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
  for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
    kill "${helpers[i]}" 2>/dev/null
    wait "${helpers[i]}" 2>/dev/null
  done
  WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL [$label] $*" >&2
  exit 1
}
note() { echo "[$label] $*"; }

shopt -s nullglob
debs=("$packages"/zelu-line_*.deb)
zips=("$packages"/zelu-line-*-windows.zip)
setups=("$packages"/zelu-line-*-windows-setup.exe)
[ ${#debs[@]} -eq 1 ] || fail "want one zelu-line_*.deb in $packages (make package), found ${#debs[@]}"
[ ${#zips[@]} -eq 1 ] || fail "want one zelu-line-*-windows.zip in $packages (make windows)"
[ ${#setups[@]} -eq 1 ] || fail "want one zelu-line-*-windows-setup.exe in $packages (make windows)"
[ -x "$probe" ] || fail "missing $probe: build the native build first (make test)"
version=$(dpkg-deb -f "${debs[0]}" Version)

# One virtual 640x480 display for both runs (fullscreen without a question), with a stand-in for
# the window manager's WM_STATE.
started=0
xvfb_start 640x480x16 "$work/display" || started=1
helpers+=("$xvfb_pid")
[ "$started" -eq 0 ] || fail "Xvfb did not start"
"$probe" wm-state 2>/dev/null &
helpers+=($!)

find_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$title" ] && echo "$id" && return 0
  done
  return 1
}

food=9,10 # where the first food of a game lies
# The occupied cells other than the food's: the snake, one cell long at the start.
snake_of() { tr ' ' '\n' <<<"$1" | grep -v "^$food$" | tr '\n' ' '; }

# A real key press held across a few frames: the game polls the key table once per frame.
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool keydown "$2"
  sleep 0.15
  xdotool keyup "$2"
}

# Waits (up to a minute: only a hung program takes that long) for the game's window and checks
# its first frame, a turn on the Down key and exit code 0 after Escape.
plays() {
  local window="" report snake before i
  for _ in $(seq 600); do
    window=$(find_window) && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended before showing a window: $(cat "$log")"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no game window within a minute"
  sleep 0.5
  import -window "$window" -depth 8 "$work/$label.ppm" 2>/dev/null || fail "no screenshot"
  report=$("$probe" board "$work/$label.ppm") || fail "no board in the first frames: $report"
  [ "$(sed -n 's/^title //p' <<<"$report")" -ge 300 ] || fail "no title drawn: $report"
  cells=$(sed -n 's/^cells *//p' <<<"$report")
  [[ " $cells " == *" $food "* ]] || fail "no food at $food: $report"
  before=$(snake_of "$cells")
  [[ "$before" =~ ^[0-9]+,5\ $ ]] || fail "the snake is not on its first row: $report"
  note "first frame drawn: $(tr '\n' ' ' <<<"$report")"

  press "$window" Down
  sleep 0.4
  import -window "$window" -depth 8 "$work/$label-down.ppm" 2>/dev/null || fail "no screenshot"
  snake=$(snake_of "$("$probe" board "$work/$label-down.ppm" | sed -n 's/^cells *//p')")
  [[ "$snake" =~ ^[0-9]+,([0-46-9]|1[01])\ $ ]] || fail "Down did not turn the snake: $snake"
  note "Down turned the snake: $before-> $snake"

  press "$window" Escape
  for _ in $(seq 300); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "still running 30 s after Escape"
  wait "$game_pid"
  local code=$?
  game_pid=
  [ "$code" -eq 0 ] || fail "exit code $code after Escape"
  note "Escape: exit code 0"
}

label=deb
note "${debs[0]}"
desktop=$(dpkg-deb -c "${debs[0]}" | grep -o '\./usr/share/applications/.*\.desktop')
metainfo=$(dpkg-deb -c "${debs[0]}" | grep -o '\./usr/share/metainfo/.*\.xml')
dpkg-deb -x "${debs[0]}" "$work/root" || fail "dpkg-deb -x failed"
desktop-file-validate "$work/root/$desktop" || fail "desktop-file-validate: $desktop"
note "desktop-file-validate $desktop: no complaints"
appstreamcli validate --no-net "$work/root/$metainfo" || fail "appstreamcli validate: $metainfo"
lintian_report=$(lintian "${debs[0]}" 2>&1 | grep -v 'running with root privileges')
[ -n "$lintian_report" ] && echo "$lintian_report"
grep -q '^E:' <<<"$lintian_report" && fail "lintian reports errors"
note "lintian: no errors ($(grep -c '^W:' <<<"$lintian_report") warnings)"

game=$work/root/usr/games/zelu-line
[ -x "$game" ] || fail "no /usr/games/zelu-line in the package"
[ "$("$game" --version)" = "zelu-line $version" ] || fail "--version: $("$game" --version)"
mkdir -p "$work/elsewhere"
log=$work/deb.log
(cd "$work/elsewhere" && SDL_AUDIODRIVER=dummy exec "$game" >"$log" 2>&1) &
game_pid=$!
plays

label=zip
note "${zips[0]}"
mkdir -p "$work/unzipped"
unzip -q "${zips[0]}" -d "$work/unzipped" || fail "unzip failed"
folder=$work/unzipped/$(basename "${zips[0]}" .zip)
for file in zelu-line.exe README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt Data/Font.bmp \
  Data/Image.bmp Data/freeze.wav Data/hourglass.wav Data/Die.wav Data/Complete.wav; do
  [ -f "$folder/$file" ] || fail "no $file in the zip's $(basename "$folder")/"
done
grep -q "Escape" "$folder/README.txt" || fail "README.txt says nothing of the keys"
note "holds zelu-line.exe, Data/, README.txt, LICENSE.txt, THIRD_PARTY_NOTICES.txt"
log=$work/zip.log
(cd "$folder" && exec "$root/cmake/wine_run.sh" zelu-line.exe >"$log" 2>&1) &
game_pid=$!
plays

label=installer
note "${setups[0]}"
# A prefix of its own, made afresh: what a player's Windows has before the install. Wine makes no
# desktop entries of the Start menu's shortcuts on this machine.
WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
export ZELU_WINEPREFIX=$root/build/wineprefix-installer
export WINEPREFIX=$ZELU_WINEPREFIX WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/zelu-line"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelu's Line.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelu-line'
# The prefix's files, less the ones Wine itself changes as programs run.
prefix_files() { (cd "$drive" && find . -path ./users -prune -o -path ./windows -prune -o -print | sort); }
prefix_files >"$work/before"

installs() {
  wine "$(winepath -w "${setups[0]}")" /S || fail "setup.exe /S failed with $?"
  wineserver -w
}
uninstalls() {
  # The uninstaller copies itself out of the folder and goes on from there: wait for the copy.
  wine 'C:\Program Files\zelu-line\uninstall.exe' /S || fail "uninstall.exe /S failed with $?"
  wineserver -w
}

installs
for file in zelu-line.exe uninstall.exe README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt \
  Data/Font.bmp Data/Image.bmp Data/freeze.wav Data/hourglass.wav Data/Die.wav Data/Complete.wav; do
  [ -f "$folder/$file" ] || fail "setup.exe /S put no $file in $folder"
done
cmp -s "$folder/Data/Font.bmp" "$root/Data/Font.bmp" || fail "the installed Data/Font.bmp differs"
note "setup.exe /S installed the exe, Data/, README.txt, the licences and uninstall.exe"
[ -f "$shortcut" ] || fail "no Start menu shortcut $shortcut"
fields=$("$probe" shortcut "$shortcut") || fail "unreadable shortcut: $fields"
[ "$(sed -n 's/^target //p' <<<"$fields")" = 'C:\Program Files\zelu-line\zelu-line.exe' ] ||
  fail "the shortcut starts something else: $fields"
[ "$(sed -n 's/^workdir //p' <<<"$fields")" = 'C:\Program Files\zelu-line' ] ||
  fail "the shortcut's working folder is not the install folder: $fields"
note "Start menu shortcut: $(tr '\n' ' ' <<<"$fields")"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no uninstall entry $key"
for value in "DisplayName +REG_SZ +Zelu's Line" "DisplayVersion +REG_SZ +$version" \
  "Publisher +REG_SZ +The zelu-line developers" \
  'DisplayIcon +REG_SZ +C:\\Program Files\\zelu-line\\zelu-line.exe,0' \
  'UninstallString +REG_SZ +"C:\\Program Files\\zelu-line\\uninstall.exe"' \
  'EstimatedSize +REG_DWORD +0x[0-9a-f]{3,}'; do
  grep -Eq "^ +$value\$" <<<"$entry" || fail "the uninstall entry lacks $value: $entry"
done
note "uninstall entry: $(grep -E 'DisplayName|DisplayVersion|EstimatedSize' <<<"$entry" | tr -s ' ' | tr '\n' ';')"

# As the Start menu starts it: the shortcut's target in the shortcut's working folder.
log=$work/installer.log
(cd "$(winepath -u "$(sed -n 's/^workdir //p' <<<"$fields")")" &&
  exec wine "$(sed -n 's/^target //p' <<<"$fields")" >"$log" 2>&1) &
game_pid=$!
plays

uninstalls
[ -e "$folder" ] && fail "uninstall.exe /S left $(cd "$folder" && find . | tr '\n' ' ')"
[ -e "$shortcut" ] && fail "uninstall.exe /S left the shortcut"
wine reg query "$key" >/dev/null 2>&1 && fail "uninstall.exe /S left the entry $key"
prefix_files >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the prefix's files differ from before the install"
note "uninstall.exe /S removed the folder, the shortcut and the entry, and nothing else"

# A file of the player's in the install folder is not the uninstaller's to remove.
installs
echo "mine" >"$folder/Data/notes.txt"
uninstalls
[ "$(cd "$folder" && find . -type f)" = "./Data/notes.txt" ] ||
  fail "after uninstalling, the install folder holds $(cd "$folder" && find . | tr '\n' ' ')"
note "uninstall.exe /S kept a file of the player's and removed the rest"
echo "packages: passed"
