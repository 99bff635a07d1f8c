# The two commands of the README: `make run` builds and starts the game, `make test` builds
# both builds and runs every test. Both install the Debian packages they miss first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Warnings are errors in the builds that make test makes (and so in CI), not for everyone.
WERROR := -DZELU_WERROR=$(if $(filter test,$(MAKECMDGOALS)),ON,OFF)

.PHONY: run test native asan windows assets deps-run deps-test clean

run: deps-run native
	./build/native/zelu-line

test: deps-test native asan windows
	scripts/test_all.sh

deps-run:
	scripts/install_deps.sh run

deps-test:
	scripts/install_deps.sh test

native:
	cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZELU_TESTS=$(if $(filter run,$(MAKECMDGOALS)),OFF,ON) $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/native -j $(JOBS)

# Clang, for libFuzzer; the native tests run in this build.
asan:
	CC=clang CXX=clang++ cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
	  -DZELU_SANITIZE=ON $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/asan -j $(JOBS)

# The Windows build: zelu-line.exe and a zip a Windows player can unpack and run.
windows:
	cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(WERROR) $(CMAKE_FLAGS)
	cmake --build build/windows -j $(JOBS)
	rm -rf build/zelu-line-windows build/zelu-line-windows.zip
	mkdir -p build/zelu-line-windows
	cp build/windows/zelu-line.exe build/zelu-line-windows/
	cp -r Data build/zelu-line-windows/
	cd build && zip -qr zelu-line-windows.zip zelu-line-windows
	@echo "build/zelu-line-windows.zip"

# Regenerates Data/ and packaging/icons/ with our own generator.
assets: native
	cmake --build build/native --target assets

clean:
	rm -rf build
