# SPDX-License-Identifier: GPL-3.0-or-later
# make run      builds and opens VOLPAR
# make test     builds and runs every test, also under AddressSanitizer and UBSan, and
#               fuzzes the program-file reader and the saves for 30 seconds, then the
#               program-text reader for 10
# make bench    builds and runs the benchmarks
# make package  builds the Debian package build/volpar_<version>_<arch>.deb
# make web      builds the page for the browser into build-web/ (serve that folder as it is)
# make fuzz     fuzzes the program-file reader for a minute
# Each target first installs the Debian packages it needs (tools/install-deps.sh).
JOBS ?= $(shell nproc)
BUILD := build
ASAN_BUILD := build-asan
WEB_BUILD := build-web
CONFIGURE := cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Debian's Emscripten runs its tools with node and finds Debian's acorn only here.
EMSDK_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: all deps deps-package deps-test deps-fuzz build build-all run test test-release \
  test-asan test-fuzz format-check bench package fuzz web web-test-deps clean

all: build

deps:
	@bash tools/install-deps.sh run
deps-package:
	@bash tools/install-deps.sh package
deps-test:
	@bash tools/install-deps.sh test
deps-fuzz:
	@bash tools/install-deps.sh fuzz

$(BUILD)/build.ninja: | deps
	$(CONFIGURE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The tests and benchmarks join the build once their libraries are installed.
build-all: deps-test
	$(CONFIGURE) -DVOLPAR_WITH_TESTS=ON -DVOLPAR_WITH_BENCH=ON -DVOLPAR_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/volpar

test: test-release test-asan test-fuzz

# The tests see English and UTF-8 whatever the machine's locale; tests of another
# language choose it themselves.
TEST_LOCALE := LANGUAGE= LC_ALL=C.UTF-8

test-release: format-check build-all web web-test-deps
	cd $(BUILD) && $(TEST_LOCALE) ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja: | deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVOLPAR_SANITIZE=ON -DVOLPAR_WERROR=ON \
	  -DVOLPAR_WITH_QT=OFF -DVOLPAR_WITH_BENCH=OFF -DVOLPAR_WITH_TESTS=ON

test-asan: deps-test $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(TEST_LOCALE) ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

$(WEB_BUILD)/build.ninja: | deps-test
	$(EMSDK_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

web: deps-test $(WEB_BUILD)/build.ninja
	$(EMSDK_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The browser tests' driver, at the version the lock file pins; it never downloads a browser.
web-test-deps: tests/web/node_modules/.package-lock.json

tests/web/node_modules/.package-lock.json: tests/web/package.json tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund

# The code keeps the house style (.clang-format); format a file with clang-format -i.
format-check: deps-test web-test-deps
	@bash tools/check-format.sh

bench: build-all
	./$(BUILD)/volpar-bench

package: deps-package build
	cmake --build $(BUILD) --target package

fuzz: deps-fuzz
	bash tools/fuzz.sh 60

# A short fixed run, with AddressSanitizer and UBSan as every fuzzing run.
test-fuzz: deps-fuzz
	bash tools/fuzz.sh 30

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WEB_BUILD) build-fuzz tests/web/node_modules
