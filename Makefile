# The two commands of the README: `make run` builds and starts the game, `make test` builds
# all three builds and runs every test. Both install the Debian packages they miss first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Warnings are errors in the builds that make test makes (and so in CI), not for everyone.
WERROR := -DZELU_WERROR=$(if $(filter test,$(MAKECMDGOALS)),ON,OFF)

.PHONY: run test bench native asan windows package web serve-web assets deps-run deps-test \
  deps-package deps-web clean

run: deps-run native
	./build/native/zelu-line

test: deps-test native asan windows package web
	scripts/test_all.sh

# Release builds of the native and Windows builds' measured programs and the browser build, then
# the figures we track as tables.
bench: deps-test web
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build/release -j $(JOBS) --target bench_programs
	cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build/windows -j $(JOBS) --target bench_programs
	bench/run.sh

deps-run:
	scripts/install_deps.sh run

deps-test:
	scripts/install_deps.sh test

deps-package:
	scripts/install_deps.sh package

deps-web:
	scripts/install_deps.sh web

native:
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZELU_TESTS=$(if $(filter run,$(MAKECMDGOALS)),OFF,ON) $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/native -j $(JOBS)

# Clang, for libFuzzer; the native tests run in this build.
asan:
	CC=clang CXX=clang++ cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
	  -DZELU_SANITIZE=ON $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/asan -j $(JOBS)

# The Windows build: a stripped zelu-line.exe with its icon, manifest and version, and
# build/zelu-line-VERSION-windows.zip (exe, Data/, README.txt, licences) made by CPack.
windows:
	cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/windows -j $(JOBS)
	cd build/windows && cpack -B .. >/dev/null
	@ls build/zelu-line-*-windows.zip

# The browser build: build/web holds index.html, zelu-line.js, .wasm and .data (the preloaded
# Data/), the page's icons and the licences, and the web app's manifest, touch and gamepad
# scripts and service worker (sw.js). Debian's emcc needs Debian's node modules when another node
# comes first on the PATH.
WEB_ENV = NODE_PATH=/usr/share/nodejs
web: $(if $(filter test bench,$(MAKECMDGOALS)),,deps-web)
	$(WEB_ENV) emcmake cmake -S . -B build/web-cmake -DCMAKE_BUILD_TYPE=Release \
	  -DZELU_WEB_OUTPUT=$(CURDIR)/build/web $(WERROR) $(CMAKE_FLAGS) >/dev/null
	$(WEB_ENV) cmake --build build/web-cmake -j $(JOBS)
	@echo "build/web/index.html"

# Serves build/web on this machine only.
WEB_PORT ?= 8080
serve-web: web
	@echo "Play at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	python3 -m http.server --bind 127.0.0.1 --directory build/web $(WEB_PORT)

# The Linux package: a Release build with Debian's hardening flags, installed under /usr with the
# game in /usr/games and its data in /usr/share/games/zelu-line, as Debian places games, and
# packed by CPack into build/zelu-line_VERSION_ARCH.deb.
package: $(if $(filter test,$(MAKECMDGOALS)),,deps-package)
	CFLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DZELU_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games \
	  $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/package -j $(JOBS)
	cd build/package && cpack -B .. >/dev/null
	@ls build/zelu-line_*.deb


# Regenerates Data/ and packaging/icons/ with our own generator.
assets: native
	cmake --build build/native --target assets

clean:
	rm -rf build
