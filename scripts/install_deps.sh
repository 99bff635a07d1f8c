#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that a build needs and are missing: only those, with one
# `apt-get update` when there is something to install. `run` is enough to build and play;
# `package` adds what `make package` needs; `web` is what the browser build needs; `release` is
# what `make release` needs to build all three packages; `test` adds the tests, the Windows cross
# build, Wine, the virtual display, the package checkers, and Emscripten, Chromium and Node.js
# for the browser build.
set -euo pipefail

# xfonts-base: the core X fonts that SDL draws its message boxes with (the game's questions and
# error messages) when zenity is not there. libx11-dev: the X desktop's Xft.dpi, for its scale.
run_packages=(cmake make g++ pkg-config libsdl2-dev libsdl2-mixer-dev libgl-dev libgl1-mesa-dri
  xfonts-base libx11-dev)
# dpkg-dev: the hardening flags and the shared-library dependencies of `make package`.
package_packages=(dpkg-dev)
# The browser build (make web, make serve-web): Debian's Emscripten brings its own Python.
web_packages=(cmake make emscripten)
# The Windows cross build and its installer (NSIS), for make release and make test.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nsis)
# diffoscope-minimal shows where two builds of one commit differ, should they; faketime sets the
# second build's clock.
test_packages=(dpkg-dev lintian desktop-file-utils appstream unzip clang libclang-rt-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev libfreetype-dev fonts-dejavu-core
  wine64 wine xvfb xauth xdotool x11-utils imagemagick zip sox
  emscripten chromium diffoscope-minimal faketime)
# Node.js and npm run the browser build's test (puppeteer-core from npm). A machine that has them
# from elsewhere (NodeSource, nvm) keeps its own: Debian's npm would not install beside them.
web_tools=()
command -v node >/dev/null 2>&1 || web_tools+=(nodejs)
command -v npm >/dev/null 2>&1 || web_tools+=(npm)

case "${1:-run}" in
run) wanted=("${run_packages[@]}") ;;
package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
web) wanted=("${web_packages[@]}") ;;
release) wanted=("${run_packages[@]}" "${package_packages[@]}" "${web_packages[@]}"
  "${windows_packages[@]}" git) ;;
test) wanted=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}"
  ${web_tools[@]+"${web_tools[@]}"}) ;;
*)
  echo "usage: $0 [run|package|web|release|test]" >&2
  exit 2
  ;;
esac

if ! command -v apt-get >/dev/null 2>&1; then
  cat <<'MSG'
This script installs Debian/Ubuntu packages. On other systems install by hand:
  macOS (Homebrew): brew install cmake sdl2 sdl2_mixer googletest google-benchmark freetype
  then: cmake -S . -B build/native && cmake --build build/native && ./build/native/zelu-line
MSG
  exit 0
fi

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
