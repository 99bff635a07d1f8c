# A virtual X display for the scripts that need one (make test's runner, the end-to-end tests,
# make bench): source this file.

# xvfb_start GEOMETRY NUMBER_FILE [XVFB_ARGUMENT...]: starts Xvfb with one screen of GEOMETRY
# (e.g. 640x480x16) on a display number that Xvfb picks free and writes to NUMBER_FILE, then sets
# DISPLAY, and xvfb_pid for the caller to end it. Returns 1 when Xvfb has not started within 10
# seconds.
xvfb_start() {
  local _
  : >"$2"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp "${@:3}" 3>"$2" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$2" ] && break
    sleep 0.05
  done
  [ -s "$2" ] || return 1
  export DISPLAY=":$(cat "$2")"
}
