#!/usr/bin/env bash
# The real game, native and Windows (.exe under Wine), each on virtual displays of its own:
#  - 640x480x16: fullscreen is accepted without a question; the first frames show the title, the
#    grid and the food where they belong; an arrow key turns the snake; F1 reopens the window in
#    the other mode and the game goes on; Escape ends the program with 0.
#  - 1024x768x24 (no 640x480 mode): the fullscreen question appears and a key press answers Yes;
#    the game runs windowed (the native game printing nothing about the box, which SDL showed);
#    closing the window ends the program with 0.
#  - Windows, 640x480x16 with both XInput libraries hidden from Wine: the game reads no pad and
#    plays (Down turns the snake) and Escape ends it with 0.
#  - Both native windows carry the game's icon.
#  - Native, 1920x1440x24 (no 640x480 mode): with ZELU_SCALE=2 the window is 1280x960 on the
#    screen, and its screenshot shrunk by 2 equals the unscaled window's (bar the snake's cells).
#  - 640x480x16 from a folder whose Data/Font.bmp is a directory: the one box is "ERROR"
#    ("Initialization Failed."), as the C runtime on Windows cannot open a directory; its OK
#    ends the program with 0.
# Keys are real key presses (XTEST through xdotool), held across a frame since the game polls
# the key table once per frame; pictures are screenshots of the game's client area. Every wait
# polls for what it expects up to a limit that only a hung game misses, not one slowed down by
# a busy machine: how fast the game does it is for `make bench`.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/xvfb_lib.sh"
native_build=${ZELU_NATIVE_BUILD:-$root/build/native}
windows_build=${ZELU_WINDOWS_BUILD:-$root/build/windows}
probe=${ZELU_E2E_PROBE:-$native_build/tests/e2e/e2e_probe}
shots=$root/build/e2e-shots
# Wine's session (wineserver and its desktop process) keeps the first display it met; a prefix of
# our own lets every run start a fresh session on its own display, apart from other Wine users.
export ZELU_WINEPREFIX=$root/build/wineprefix-e2e
title="Zelu's Line Tutorial"
question_caption="Zelu GL"
label=setup
hang_limit=30 # seconds
helpers=() # the current display's Xvfb and WM_STATE keeper

stop_display() {
  local i
  for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do # the keeper first, then its display
    kill "${helpers[i]}" 2>/dev/null
    wait "${helpers[i]}" 2>/dev/null
  done
  helpers=()
}
trap stop_display EXIT

fail() {
  echo "FAIL [$label] $*" >&2
  [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
  exit 1
}
note() { echo "[$label] $*"; }
millis() { echo $(($(date +%s%N) / 1000000)); }

for file in "$probe" "$native_build/zelu-line" "$windows_build/zelu-line.exe"; do
  [ -x "$file" ] || [ -f "$file" ] || fail "missing $file: build both builds first (make test)"
done
mkdir -p "$shots"

# A virtual display of the given geometry on a display number that Xvfb picks free, with a
# stand-in for the window manager's WM_STATE.
start_display() {
  local started=0
  xvfb_start "$1" "$shots/display-number" || started=1
  helpers+=("$xvfb_pid")
  [ "$started" -eq 0 ] || fail "Xvfb $1 did not start"
  "$probe" wm-state 2>/dev/null &
  helpers+=($!)
  local keeper=$! deadline=$(($(millis) + 10000))
  until xprop -root _MOTIF_WM_HINTS 2>&1 | grep -q 'not found'; do
    kill -0 "$keeper" 2>/dev/null || fail "the WM_STATE keeper could not reach $DISPLAY"
    [ "$(millis)" -lt "$deadline" ] || fail "the WM_STATE keeper did not start on $DISPLAY"
    sleep 0.05
  done
}

# The viewable window with this exact name (xdotool's name search misses UTF-8 names).
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '' 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits up to $2 seconds for a window named $1, other than $3; prints its id.
wait_window() {
  local deadline=$(($(millis) + $2 * 1000)) id
  while [ "$(millis)" -lt "$deadline" ]; do
    id=$(find_window "$1") && [ "$id" != "${3:-}" ] && echo "$id" && return 0
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

launch() {
  cd "${game_folder:-$root}" || fail "no folder to start the game in"
  local log="$shots/$build-$label.log" # what the game and Wine print, for a look after a failure
  if [ "$build" = native ]; then
    SDL_AUDIODRIVER=dummy "$native_build/zelu-line" >"$log" 2>&1 &
  else
    "$root/cmake/wine_run.sh" "$windows_build/zelu-line.exe" >"$log" 2>&1 &
  fi
  game_pid=$!
}

# A real key press held across a few frames (well under the X server's auto-repeat delay).
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool keydown "$2"
  sleep 0.25
  xdotool keyup "$2"
}

# The board seen in a screenshot of window $1, saved as $2; sets origin, title_pixels, cells and
# snake (the occupied cells other than the food's). Sets problem and fails when there is none.
look() {
  local file="$shots/$build-$label-$2.ppm" report
  import -window "$1" -depth 8 "$file" 2>/dev/null || {
    problem="no screenshot of window $1"
    return 1
  }
  report=$("$probe" board "$file") || {
    problem="no board in $file: $report"
    return 1
  }
  origin=$(sed -n 's/^origin //p' <<<"$report")
  title_pixels=$(sed -n 's/^title //p' <<<"$report")
  cells=$(sed -n 's/^cells *//p' <<<"$report")
  snake=$(tr ' ' '\n' <<<"$cells" | grep -v "^$food$" | tr '\n' ' ')
}

# Looks at window $1 (pictures saved as $2) until the check $3 passes; each check sets problem
# and fails while the picture is not yet what it expects.
look_until() {
  local deadline=$(($(millis) + hang_limit * 1000))
  problem=
  until look "$1" "$2" && "$3"; do
    [ "$(millis)" -lt "$deadline" ] || fail "$problem"
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended; last: $problem"
    sleep 0.1
  done
}

# The picture is the game's: board at the client area's origin (within the one pixel that line
# rasterisation allows), the title in its place, and the snake and the food on the board.
game_picture() {
  local x=${origin% *} y=${origin#* }
  if ! { [ "${x#-}" -le 1 ] && [ "${y#-}" -le 1 ]; }; then
    problem="board at $origin, not at the client origin"
  elif [ "$title_pixels" -lt 300 ]; then
    problem="title not drawn ($title_pixels pixels in its colour)"
  elif [ -z "$snake" ]; then
    problem="no snake on the board (cells: $cells)"
  elif [[ " $cells " != *" $food "* ]]; then
    problem="no food at $food (cells: $cells)"
  else
    return 0
  fi
  return 1
}

# The first frames of a fullscreen game: the picture, with the snake still on its first row.
first_frames() {
  game_picture || return 1
  [[ "$snake" =~ ^[0-9]+,5\ $ ]] && return 0
  problem="the snake is not on its first row: $snake"
  return 1
}

# The head has left the first row: Down turned it.
turned_down() {
  [[ "$snake" =~ (^| )[0-9]+,([0-46-9]|1[01])\  ]] && return 0
  problem="Down did not turn the head: $snake"
  return 1
}

some_snake() {
  [ -n "$snake" ] && return 0
  problem="no snake (cells: $cells)"
  return 1
}

# The snake is somewhere else than in $before.
moved_on() {
  some_snake || return 1
  [ "$snake" != "$before" ] && return 0
  problem="the game stands still: $snake"
  return 1
}

# "fullscreen" for an undecorated window covering the 640x480 screen, "windowed" for one that
# asks for a frame (the decorations field of its Motif hints, the third, is not 0).
window_mode() {
  local decorations geometry
  decorations=$(xprop -id "$1" _MOTIF_WM_HINTS 2>/dev/null | sed -n 's/.*= *//p' | cut -d, -f3)
  geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}')
  if [ -n "$decorations" ] && [ "$decorations" != " 0x0" ]; then
    echo windowed
  elif [ "$geometry" = "0 0 640 480" ]; then
    echo fullscreen
  else
    echo "undecorated at $geometry"
  fi
}

# The window settles in its mode.
expect_mode() {
  local deadline=$(($(millis) + hang_limit * 1000))
  until [ "$(window_mode "$1")" = "$2" ]; do
    [ "$(millis)" -lt "$deadline" ] || fail "window $1 is $(window_mode "$1"), not $2"
    sleep 0.05
  done
}

# Waits for the game to end; sets exit_code and elapsed (ms since $1).
expect_exit() {
  local since=$1
  while kill -0 "$game_pid" 2>/dev/null && [ $(($(millis) - since)) -lt $((hang_limit * 1000)) ]; do
    sleep 0.01
  done
  elapsed=$(($(millis) - since))
  kill -0 "$game_pid" 2>/dev/null && fail "still running ${elapsed} ms after $2"
  wait "$game_pid"
  exit_code=$?
  game_pid=
}

# The native window shows the game's icon where Windows shows the stock application icon (Wine's
# is its own logo, so only the native build is checked).
expect_game_icon() {
  [ "$build" = native ] || return 0
  local report
  report=$("$probe" icon "$1" "$root/packaging/icons/zelu-line-64.bmp") ||
    fail "window $1 does not show the game's icon: ${report:-no _NET_WM_ICON}"
  note "window $1: $(tr '\n' ' ' <<<"$report")"
}

food=9,10 # where the first food of a game lies

fullscreen_run() {
  label=fullscreen
  start_display 640x480x16
  launch
  local window switched
  window=$(wait_window "$title" "$hang_limit") || fail "no game window"
  find_window "$question_caption" >/dev/null && fail "the fullscreen question appeared"
  expect_mode "$window" fullscreen
  expect_game_icon "$window"
  look_until "$window" start first_frames
  note "first frames: board at $origin, title $title_pixels px, snake $snake, food $food"

  press "$window" Down
  look_until "$window" steered turned_down
  note "Down turned the head: $snake"

  press "$window" F1
  switched=$(wait_window "$title" "$hang_limit" "$window") || fail "F1 did not reopen the window"
  expect_mode "$switched" windowed
  expect_game_icon "$switched"
  # A windowed frame does not fit on this 640x480 screen: Wine keeps the window on the screen and
  # so cuts the picture's top; only the board and the snake count here.
  look_until "$switched" after-f1 some_snake
  before=$snake
  look_until "$switched" going-on moved_on
  note "F1 reopened windowed; the snake moves on: $before-> $snake"

  local pressed
  pressed=$(millis)
  press "$switched" Escape
  expect_exit "$pressed" Escape
  [ "$exit_code" -eq 0 ] || fail "exit code $exit_code after Escape"
  note "Escape: exit code $exit_code after ${elapsed} ms"
  [ "$build" = windows ] && end_wine_session
  stop_display
}

windowed_run() {
  label=windowed
  start_display 1024x768x24
  launch
  local box window pressed
  box=$(wait_window "$question_caption" "$hang_limit") || fail "no fullscreen question"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return # the default button: Yes
  window=$(wait_window "$title" "$hang_limit") || fail "no game window after Yes"
  expect_mode "$window" windowed
  look_until "$window" start game_picture
  note "question answered Yes; windowed: board at $origin, snake $snake"
  # Where SDL's box shows the question, the game prints nothing about it.
  if [ "$build" = native ] && grep -q "could not be shown" "$shots/$build-$label.log"; then
    fail "SDL's box was shown, yet: $(cat "$shots/$build-$label.log")"
  fi

  pressed=$(millis)
  "$probe" close "$window" || fail "could not ask the window to close"
  expect_exit "$pressed" "closing the window"
  [ "$exit_code" -eq 0 ] || fail "exit code $exit_code after closing the window"
  note "closed: exit code 0 after ${elapsed} ms"
  [ "$build" = windows ] && end_wine_session
  stop_display
}

unreadable_image_run() {
  label=unreadable-image
  start_display 640x480x16
  game_folder=$shots/folder-image
  rm -rf "$game_folder"
  mkdir -p "$game_folder/Data/Font.bmp"
  cp "$root/Data/Image.bmp" "$game_folder/Data/"
  launch
  game_folder=
  local box name deadline=$(($(millis) + hang_limit * 1000)) pressed
  # The first box to appear must be the start-up failure, not the loader's "Error".
  until box=$(find_window ERROR); do
    find_window Error >/dev/null && fail "the loader's \"Error\" box appeared first"
    kill -0 "$game_pid" 2>/dev/null || fail "ended without a box"
    [ "$(millis)" -lt "$deadline" ] || fail "no \"ERROR\" box"
    sleep 0.05
  done
  name=$(find_window "$title") && fail "the game window $name is still there under the box"
  pressed=$(millis)
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --window "$box" Return
  expect_exit "$pressed" "OK in the box"
  [ "$exit_code" -eq 0 ] || fail "exit code $exit_code after the box"
  note "only \"ERROR\" was shown; exit code 0"
  [ "$build" = windows ] && end_wine_session
  stop_display
}

# The Windows build where neither XInput library loads: without a pad to read, it plays.
no_xinput_run() {
  label=no-xinput
  start_display 640x480x16
  ZELU_WINEDLLOVERRIDES="xinput1_4,xinput9_1_0=d" launch
  local window pressed
  window=$(wait_window "$title" "$hang_limit") || fail "no game window"
  look_until "$window" start first_frames
  press "$window" Down
  look_until "$window" steered turned_down
  note "without XInput, Down turned the head: $snake"
  pressed=$(millis)
  press "$window" Escape
  expect_exit "$pressed" Escape
  [ "$exit_code" -eq 0 ] || fail "exit code $exit_code after Escape"
  end_wine_session
  stop_display
}

# Opens the game windowed (the question answered Yes) on the current display with ZELU_SCALE=$1,
# checks the window's size on the screen ($2) and takes its screenshot as $3.
scaled_window_shot() {
  local box window geometry
  ZELU_SCALE=$1 launch
  box=$(wait_window "$question_caption" "$hang_limit") || fail "no fullscreen question"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  window=$(wait_window "$title" "$hang_limit") || fail "no game window after Yes"
  geometry=$(xwininfo -id "$window" | awk '/Width/{w=$NF} /Height/{h=$NF} END{print w "x" h}')
  [ "$geometry" = "$2" ] || fail "the window is $geometry on the screen at scale $1, not $2"
  if [ "$1" = 1 ]; then
    look_until "$window" "$3" game_picture
  else # the board reader knows the unscaled picture only: compare-scaled checks this one
    sleep 0.5
    import -window "$window" -depth 8 "$shots/$build-$label-$3.ppm" 2>/dev/null ||
      fail "no screenshot of window $window"
  fi
  cp "$shots/$build-$label-$3.ppm" "$shots/$3.ppm"
  "$probe" close "$window" || fail "could not ask the window to close"
  expect_exit "$(millis)" "closing the window"
}

scaled_desktop_run() {
  label=scaled
  start_display 1920x1440x24
  scaled_window_shot 1 640x480 plain
  scaled_window_shot 2 1280x960 scaled
  local report
  report=$("$probe" compare-scaled "$shots/plain.ppm" "$shots/scaled.ppm" 2) ||
    fail "the scaled window's picture differs: $report"
  note "ZELU_SCALE=2: window 1280x960; shrunk by 2: $report"
  stop_display
}

# A first run makes the private Wine prefix (some 20 s), outside the timed runs.
if [ ! -f "$ZELU_WINEPREFIX/system.reg" ]; then
  echo "making the Wine prefix $ZELU_WINEPREFIX"
  (cd "$root" && cmake/wine_run.sh --version >/dev/null)
fi
end_wine_session() {
  WINEPREFIX=$ZELU_WINEPREFIX wineserver -k 2>/dev/null
  WINEPREFIX=$ZELU_WINEPREFIX wineserver -w 2>/dev/null
}

for build in native windows; do
  started=$(millis)
  fullscreen_run
  windowed_run
  unreadable_image_run
  [ "$build" = native ] && scaled_desktop_run
  [ "$build" = windows ] && no_xinput_run
  took=$(($(millis) - started))
  echo "$build: passed in $((took / 1000)).$((took % 1000 / 100)) s"
done
