# Two commands set up everything on a fresh Debian 12 machine: `make run` and `make test`.
BUILD    ?= build
BUILD_TYPE ?= RelWithDebInfo
PACKAGES := build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite \
            qt6-webengine-dev libgl-dev libxkbcommon-dev fonts-liberation2 xvfb xauth libxcb1-dev libxcb-xtest0-dev \
            libbenchmark-dev libsqlite3-dev dpkg-dev desktop-file-utils appstream lintian clang \
            libqt6sql6-psql postgresql
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS     ?= $(shell nproc)

.PHONY: all deps configure build run test fuzz package bench screenshots sanitize clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/bl_editor/dalvora

# FUZZ_SECONDS=0 leaves the fuzz targets out (the sanitizer run: they are built with the sanitizers already).
FUZZ_SECONDS ?= 5
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen $(TEST_ENV) ctest --output-on-failure -j $(JOBS) --timeout 300
	[ "$(FUZZ_SECONDS)" = 0 ] || $(MAKE) fuzz

# Every fuzz target built with clang, then run FUZZ_SECONDS seconds over its seed corpus (fuzz/corpus/<target>).
# `make fuzz FUZZ_SECONDS=60 FUZZ_TARGETS=fuzz_store` runs one target longer.
fuzz: deps
	[ -f build-fuzz/build.ninja ] || cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DDALVORA_FUZZ=ON $(CMAKE_ARGS)
	cmake --build build-fuzz -j $(JOBS)
	fuzz/run build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The .deb packages (CPack) into $(BUILD)/: the program, and its manual's browser when the web engine was found.
package: build
	cmake --build $(BUILD) --target package

bench:
	$(MAKE) BUILD=build-release BUILD_TYPE=Release CMAKE_ARGS=-DDALVORA_BENCH=ON build
	build-release/bench/dalvora_bench

# Pictures of the windows shown in README.md, drawn offscreen over example data (rewrites docs/screenshots/*.png).
screenshots: configure
	cmake --build $(BUILD) --target dalvora_screenshots -j $(JOBS)
	$(BUILD)/tools/screenshots/dalvora_screenshots docs/screenshots

# Leak reports come from the system's font and GL libraries, and the web engine's own Chromium deletes objects with
# a mismatched size: neither is the program's, so those two checks are off; every other report fails the run.
ASAN_OPTIONS_CI := detect_leaks=0:new_delete_type_mismatch=0:halt_on_error=1
sanitize:
	$(MAKE) BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS=-DDALVORA_SANITIZE=ON FUZZ_SECONDS=0 \
	    TEST_ENV="ASAN_OPTIONS=$(ASAN_OPTIONS_CI) UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1" test

clean:
	rm -rf build build-release build-asan build-fuzz
