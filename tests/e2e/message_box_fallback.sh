#!/usr/bin/env bash
# The native game where SDL cannot show its message boxes: an X server with only its built-in
# fonts (as one started before xfonts-base was installed) and 1024x768, so that the fullscreen
# question is asked.
#  - No dialog program on the PATH: the question's caption and text go to standard error, the
#    default answer (Yes) is taken, the game plays in a window (its board in a screenshot), and
#    Escape exits 0.
#  - A zenity that records its arguments and answers Yes: the question reaches it with its
#    caption, text and buttons, and the game plays. When it answers SDL's own call, nothing is
#    printed; when it refuses SDL's call (as a zenity that does not know one of SDL's options
#    would), the game's own call reaches it after the box has gone to standard error.
# Waits poll up to a limit that only a hung game misses.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/xvfb_lib.sh"
native_build=${ZELU_NATIVE_BUILD:-$root/build/native}
probe=${ZELU_E2E_PROBE:-$native_build/tests/e2e/e2e_probe}
shots=$root/build/e2e-shots/message-box-fallback
title="Zelu's Line Tutorial"
question_line1="The Requested Fullscreen Mode Is Not Supported By"
question_line2="Your Video Card. Use Windowed Mode Instead?"
label=setup
hang_limit=30 # seconds
helpers=()
game_pid=

stop_all() {
  local i
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
    kill "${helpers[i]}" 2>/dev/null
    wait "${helpers[i]}" 2>/dev/null
  done
}
trap stop_all EXIT
fail() {
  echo "FAIL [$label] $*" >&2
  exit 1
}
note() { echo "[$label] $*"; }
millis() { echo $(($(date +%s%N) / 1000000)); }

for file in "$probe" "$native_build/zelu-line"; do
  [ -x "$file" ] || fail "missing $file: build the native game first (make native)"
done
rm -rf "$shots"
mkdir -p "$shots"

xvfb_start 1024x768x24 "$shots/display-number" -fp built-ins || fail "Xvfb did not start"
helpers+=("$xvfb_pid")
"$probe" wm-state 2>/dev/null &
helpers+=($!)
xlsfonts 2>/dev/null | grep -qx fixed || fail "the display has no built-in fixed font"
xlsfonts 2>/dev/null | grep -q -- '-helvetica-' && fail "the display has core fonts beyond its built-ins"

find_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id" && return 0
  done
  return 1
}

# Starts the game with $1 as its whole PATH; its standard error goes to $shots/$label.log.
launch() {
  (cd "$root" && PATH=$1 SDL_AUDIODRIVER=dummy exec "$native_build/zelu-line") \
    2>"$shots/$label.log" >/dev/null &
  game_pid=$!
}

# Waits for the game's window and for its board in a screenshot (saved as $label.ppm).
expect_board() {
  local deadline=$(($(millis) + hang_limit * 1000)) window report=
  until window=$(find_window "$title") && import -window "$window" -depth 8 "$shots/$label.ppm" \
    2>/dev/null && report=$("$probe" board "$shots/$label.ppm") &&
    [[ " $(sed -n 's/^cells *//p' <<<"$report") " == *" 9,10 "* ]]; do
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended: $(cat "$shots/$label.log")"
    [ "$(millis)" -lt "$deadline" ] || fail "no board in the game's window: ${report:-no window}"
    sleep 0.2
  done
  note "the game plays in window $window: $(tr '\n' ' ' <<<"$report")"
  board_window=$window
}

# Escape ends the game with 0.
expect_escape_exits_0() {
  local deadline=$(($(millis) + hang_limit * 1000)) code
  xdotool windowfocus --sync "$board_window" 2>/dev/null
  xdotool keydown Escape
  sleep 0.25
  xdotool keyup Escape
  while kill -0 "$game_pid" 2>/dev/null; do
    [ "$(millis)" -lt "$deadline" ] || fail "still running after Escape"
    sleep 0.05
  done
  wait "$game_pid"
  code=$?
  game_pid=
  [ "$code" -eq 0 ] || fail "exit code $code after Escape"
  note "Escape: exit code 0"
}

label=no-dialog-program
mkdir -p "$shots/empty"
launch "$shots/empty"
expect_board
log=$(cat "$shots/$label.log")
for line in "could not be shown" "  Zelu GL" "    $question_line1" "    $question_line2" \
  "  [Yes] No" "taking Yes, the default button."; do
  grep -qF -- "$line" <<<"$log" || fail "standard error lacks \"$line\": $log"
done
note "standard error: $(sed 's/^/  | /' <<<"$log")"
expect_escape_exits_0

# A zenity that writes each call's arguments, one per line, to its log and answers Yes: with the
# label on its output for SDL's call (which names its buttons with --extra-button), with exit 0
# for the game's. With REFUSE set it refuses SDL's call as an unknown option would.
fake=$shots/fake-zenity
mkdir -p "$fake"
cat >"$fake/zenity" <<FAKE
#!/bin/sh
{ echo "--- call"; printf '%s\n' "\$@"; } >>"$shots/\$ZELU_FAKE_LOG"
for arg in "\$@"; do
  case \$arg in
  --icon-name) [ -n "\${REFUSE:-}" ] && echo "zenity: unknown option \$arg" >&2 && exit 255 ;;
  --extra-button) echo Yes; exit 0 ;;
  esac
done
exit 0
FAKE
chmod +x "$fake/zenity"

label=zenity-answers-sdl
ZELU_FAKE_LOG=$label.zenity launch "$fake"
expect_board
calls=$(cat "$shots/$label.zenity")
for line in "--title" "Zelu GL" "--text" "$question_line1" "$question_line2" "Yes" "No"; do
  grep -qxF -- "$line" <<<"$calls" || fail "zenity was not given \"$line\": $calls"
done
[ -s "$shots/$label.log" ] && fail "something was printed: $(cat "$shots/$label.log")"
note "zenity was asked (by SDL) with: $(grep -v '^---' <<<"$calls" | tr '\n' ' ')"
note "nothing printed"
expect_escape_exits_0

label=zenity-refuses-sdl
ZELU_FAKE_LOG=$label.zenity REFUSE=1 launch "$fake"
expect_board
calls=$(cat "$shots/$label.zenity")
ours=$(awk '/^--- call/{n++} n==2' "$shots/$label.zenity")
expected=$(printf '%s\n' "--- call" "--question" "--title=Zelu GL" \
  "--text=$question_line1" "$question_line2" "--no-wrap" "--no-markup" "--ok-label=Yes" \
  "--cancel-label=No")
[ "$ours" = "$expected" ] || fail "the game's own call to zenity: $ours; all calls: $calls"
log=$(cat "$shots/$label.log")
grep -qF "    $question_line1" <<<"$log" && grep -qF "asked with zenity instead." <<<"$log" ||
  fail "standard error: $log"
note "the game asked zenity itself with: $(grep -v '^---' <<<"$ours" | tr '\n' ' ')"
note "standard error: $(sed 's/^/  | /' <<<"$log")"
expect_escape_exits_0
echo "message box fallback: passed"
