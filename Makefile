# Entry points for people and CI. Every target that builds first makes sure the
# Debian packages the project needs are installed (apt-get, as root or via sudo).

BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
JOBS      ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan bench mutate fuzz fuzz-replay clean assets package install

all: build

deps:
	@tools/ensure-packages

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@tools/run-game $(BUILD_DIR)

# Every test: the normal build's tests (unit, widget, real-display, golden
# traces), then the whole program built with AddressSanitizer and
# UndefinedBehaviorSanitizer and every test labelled "sanitized" (all but the
# art, package and benchmark checks) run again on it, then the fuzz targets'
# seed replays and short runs.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz-replay

test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMK_SANITIZE=ON -DMK_CORE_ONLY=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	@# A window manager's focus timing can slip under the sanitizers' slowness;
	@# what they are run for, an error in memory or arithmetic, repeats.
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -L sanitized --repeat until-pass:2

bench: build
	@tools/run-benchmarks $(BUILD_DIR)

# Mutation run: realistic faults (tools/mutate/edits.txt) applied one at a time
# to a scratch copy, each built and tested without a display; prints every
# fault the tests let through and the share they caught. Not part of `test`:
# it takes a while. EDITS="name ..." runs only those.
mutate: deps
	tools/mutate/mutate.py $(if $(EDITS),--only $(EDITS))

fuzz-replay: deps
	@tools/fuzz $(FUZZ_DIR) short

fuzz: deps
	@tools/fuzz $(FUZZ_DIR) long

assets: build
	$(BUILD_DIR)/mk-assets --out data

# The Debian package, in $(BUILD_DIR)/package/.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Installs into PREFIX (default /usr/local); DESTDIR is honoured.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
