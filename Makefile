# SPDX-License-Identifier: GPL-3.0-or-later
# make play   installs what is missing, builds and starts the game
# make test   installs what is missing, builds and runs every test headless
# make bench  builds and runs the benchmarks
# make package  builds the Debian package build/vortani_<version>_<arch>.deb
# make fuzz   builds the fuzz targets with clang in a folder of their own and runs each a while
BUILD ?= build
TYPE ?= RelWithDebInfo
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: play test bench fuzz deps build screenshots package clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE)
	cmake --build $(BUILD)

play: build
	$(BUILD)/bin/vortani

test: build
	scripts/run-tests.sh $(BUILD)

bench: build
	scripts/run-bench.sh $(BUILD)

fuzz: deps
	scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

screenshots: build
	scripts/screenshots.sh $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
