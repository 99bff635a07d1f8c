#!/usr/bin/env bash
# The include rules of the shipped code (app/, game/, gfx/, platform/), checked by `make test`:
# includes point only down the layers app -> game -> gfx -> platform; only platform/sdl/ and
# platform/web/ include SDL or Emscripten; platform/win32_core/, which they share, includes
# neither of them, and neither includes the other; game code never includes the test controls or
# a platform's own files; the rules (game/game_state.*) reach only their own header, the standard
# library and platform/win32.h, for PlaySoundA, and name no OpenGL, so that they run without a
# display. Prints every include that breaks a rule; exits 1 when there is one.
set -uo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

# A layer's rank: a file may include its own layer and the ones below (smaller ranks).
declare -A rank=([app]=3 [game]=2 [gfx]=1 [platform]=0)
include_line='^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"]'

broken=0
checked=0
report() {
  echo "$1: $2"
  broken=$((broken + 1))
}

while IFS= read -r file; do
  checked=$((checked + 1))
  layer=${file%%/*}
  while IFS= read -r line; do
    [[ $line =~ $include_line ]] || continue
    where="$file:${BASH_REMATCH[1]}"
    target=${BASH_REMATCH[2]}
    target_layer=${target%%/*}
    if [ "${rank[$target_layer]:--1}" -gt "${rank[$layer]}" ]; then
      report "$where" "$layer/ includes $target from the higher layer $target_layer/"
    fi
    case $file in
    platform/sdl/* | platform/web/*) ;;
    *)
      case $target in
      SDL* | SDL2/* | emscripten* | GL/* | windows.h)
        [ "$file" = platform/win32.h ] ||
          report "$where" "$target belongs to a platform: only platform/win32.h or platform/sdl/ and platform/web/ include it" ;;
      esac
      ;;
    esac
    # The platforms share platform/win32_core/, which knows neither of them; neither knows the
    # other.
    case $file:$target in
    platform/win32_core/*:platform/sdl/* | platform/win32_core/*:platform/web/* | \
      platform/sdl/*:platform/web/* | platform/web/*:platform/sdl/*)
      report "$where" "${file%/*}/ includes $target from another platform" ;;
    esac
    case $file:$target in
    game/game_state.*:game/game_state.h | game/game_state.*:platform/win32.h) ;;
    game/game_state.*:*/* | game/game_state.*:*.h)
      report "$where" "the game's rules include only game_state.h, the standard library and platform/win32.h, not $target" ;;
    esac
    if [ "$layer" != platform ]; then
      case $target in
      platform/win32.h) ;;
      platform/*) report "$where" "game code reaches the platform through platform/win32.h only, not $target" ;;
      esac
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find app game gfx platform -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

# platform/win32.h brings OpenGL's header with it, but the rules must not use it.
while IFS= read -r line; do
  report "${line%%:*}:$(cut -d: -f2 <<<"$line")" "the game's rules name OpenGL: $(cut -d: -f3- <<<"$line" | sed 's/^[[:space:]]*//')"
done < <(grep -nHE '\<(gl[A-Z][A-Za-z0-9]*|GL_[A-Z0-9_]+|GL[a-z]+)\>' game/game_state.h game/game_state.cpp)

echo "checked the includes of $checked files: $broken broken"
[ "$broken" -eq 0 ]
