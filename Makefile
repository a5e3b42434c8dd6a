# SPDX-License-Identifier: GPL-3.0-or-later
# make play   installs what is missing, builds and starts the game
# make test   installs what is missing, builds and runs every test headless
# make bench  builds and runs the benchmarks
BUILD ?= build
TYPE ?= RelWithDebInfo

.PHONY: play test bench deps build screenshots clean

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

screenshots: build
	scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD)
