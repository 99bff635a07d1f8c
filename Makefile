# The two commands of the README: `make run` builds and starts the game, `make test` builds
# all three builds and runs every test. Both install the Debian packages they miss first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Warnings are errors in the builds that make test makes (and so in CI), not for everyone.
WERROR := -DZELU_WERROR=$(if $(filter test,$(MAKECMDGOALS)),ON,OFF)
# Whether make windows builds the Windows test programs too (make release does not).
TESTS ?= ON
VERSION := $(shell sed -n 's/^project(zelu_line VERSION \([0-9.]*\).*)$$/\1/p' CMakeLists.txt)

# Reproducible packages: every time stamp in them is the last commit's time (in a source tarball,
# the one git archive wrote into packaging/source_date_epoch), and zip members' DOS times are
# read in UTC, so that one commit makes the same files in any folder at any time.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null || \
  sed -n '/^[0-9][0-9]*$$/p' packaging/source_date_epoch)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif
PACK_ENV = TZ=UTC

.PHONY: run test bench native asan windows package web serve-web assets release deps-run \
  deps-test deps-package deps-web deps-release clean

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

deps-release:
	scripts/install_deps.sh release

native:
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZELU_TESTS=$(if $(filter run,$(MAKECMDGOALS)),OFF,ON) $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/native -j $(JOBS)

# Clang, for libFuzzer; the native tests run in this build.
asan:
	CC=clang CXX=clang++ cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
	  -DZELU_SANITIZE=ON $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/asan -j $(JOBS)

# The Windows build: a stripped zelu-line.exe with its icon, manifest and version,
# build/zelu-line-VERSION-windows.zip (exe, Data/, README.txt, licences) made by CPack, and
# build/zelu-line-VERSION-windows-setup.exe, its installer, made by NSIS.
windows:
	cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DZELU_TESTS=$(TESTS) $(WERROR) $(CMAKE_FLAGS)
	$(PACK_ENV) cmake --build build/windows -j $(JOBS)
	cd build/windows && $(PACK_ENV) cpack -B .. >/dev/null
	cp build/windows/zelu-line-$(VERSION)-windows-setup.exe build/
	@ls build/zelu-line-$(VERSION)-windows.zip build/zelu-line-$(VERSION)-windows-setup.exe

# The browser build: build/web holds index.html, zelu-line.js, .wasm (with Data/ embedded), the
# page's icons and the licences, and the web app's manifest, touch and gamepad scripts and service
# worker (sw.js); build/zelu-line-VERSION-web.zip holds the same site at its root. Debian's emcc
# needs Debian's node modules when another node comes first on the PATH.
WEB_ENV = NODE_PATH=/usr/share/nodejs
web: $(if $(filter test bench,$(MAKECMDGOALS)),,deps-web)
	$(WEB_ENV) emcmake cmake -S . -B build/web-cmake -DCMAKE_BUILD_TYPE=Release \
	  -DZELU_WEB_OUTPUT=$(CURDIR)/build/web $(WERROR) $(CMAKE_FLAGS) >/dev/null
	$(WEB_ENV) $(PACK_ENV) cmake --build build/web-cmake -j $(JOBS)
	@ls build/web/index.html build/zelu-line-$(VERSION)-web.zip

# Serves build/web on this machine only.
WEB_PORT ?= 8080
serve-web: web
	@echo "Play at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	python3 -m http.server --bind 127.0.0.1 --directory build/web $(WEB_PORT)

# The Linux package: a Release build with Debian's hardening flags, installed under /usr with the
# game in /usr/games and its data in /usr/share/games/zelu-line, as Debian places games, and
# packed by CPack into build/zelu-line_VERSION_ARCH.deb. Only the game is built: the package holds
# nothing else.
package: $(if $(filter test,$(MAKECMDGOALS)),,deps-package)
	CFLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DZELU_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DCMAKE_INSTALL_DATADIR=share/games \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/package -j $(JOBS) --target zelu-line
	cd build/package && $(PACK_ENV) cpack -B .. >/dev/null
	@ls build/zelu-line_*.deb

# A release in dist/: the .deb, the Windows zip and installer and the web zip, built in Release
# from the committed tree alone (the source tarball, unpacked into build/dist), that tarball,
# and SHA256SUMS over them all. Refuses to run with uncommitted changes, which it would not ship.
RELEASE_SRC = build/dist/zelu-line-$(VERSION)
release: deps-release
	@if [ -n "$$(git status --porcelain)" ]; then \
	  echo "make release: uncommitted changes; commit or stash them first:" >&2; \
	  git status --short >&2; exit 1; fi
	rm -rf build/dist dist
	mkdir -p build/dist dist
	git archive --format=tar.gz --prefix=zelu-line-$(VERSION)/ \
	  -o dist/zelu-line-$(VERSION)-source.tar.gz HEAD
	tar -xzf dist/zelu-line-$(VERSION)-source.tar.gz -C build/dist
	$(MAKE) -C $(RELEASE_SRC) package windows web TESTS=OFF JOBS=$(JOBS) \
	  SOURCE_DATE_EPOCH=$(SOURCE_DATE_EPOCH)
	cp $(RELEASE_SRC)/build/zelu-line_$(VERSION)_*.deb \
	  $(RELEASE_SRC)/build/zelu-line-$(VERSION)-windows.zip \
	  $(RELEASE_SRC)/build/zelu-line-$(VERSION)-windows-setup.exe \
	  $(RELEASE_SRC)/build/zelu-line-$(VERSION)-web.zip dist/
	cd dist && sha256sum * >SHA256SUMS
	@ls -l dist

# Regenerates Data/ and packaging/icons/ with our own generator.
assets: native
	cmake --build build/native --target assets

clean:
	rm -rf build
