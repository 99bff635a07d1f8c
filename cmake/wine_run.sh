#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix of its own inside the build folder, so that
# nothing outside the build is touched and Wine never offers to install add-ons.
# ZELU_WINEDLLOVERRIDES adds overrides of its own (xinput1_4=d hides that library from a test).
set -eu
: "${ZELU_WINEPREFIX:=${PWD%%/build/*}/build/wineprefix}"
export WINEPREFIX="$ZELU_WINEPREFIX" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=${ZELU_WINEDLLOVERRIDES:+;$ZELU_WINEDLLOVERRIDES}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
exec wine "$@"
