# SPDX-License-Identifier: GPL-3.0-or-later
# make play   installs what building and running need, builds and starts the game
# make test   installs what the tests need as well, builds and runs every test headless
# make bench  builds and runs the benchmarks, the Windows start-up under Wine too
# make package  builds the Debian package build/vortani_<version>_<arch>.deb and checks it with
#             lintian, which must report nothing
# make windows  builds the Windows edition with MinGW-w64 (Qt for it is built once into a cache
#             outside the clone): build-windows/Vortani-<version>-win64.zip and .msi
# make web    builds the web edition with Debian's emscripten (Qt for it is built once into a
#             cache outside the clone): build-web/site, a folder of static files to serve, and
#             build-web/Vortani-<version>-web.zip
# make fuzz   builds the fuzz targets with clang in a folder of their own and runs each a while
BUILD ?= build
TYPE ?= RelWithDebInfo
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
WEB_BUILD ?= build-web
FUZZ_SECONDS ?= 60

.PHONY: play test bench fuzz deps test-deps windows-deps web-deps build windows web screenshots \
	package clean

deps:
	@scripts/install-deps.sh play

test-deps: deps
	@scripts/install-deps.sh test

windows-deps:
	@scripts/install-deps.sh windows

web-deps:
	@scripts/install-deps.sh web

# The tests are built unless only the game is wanted: `make play` neither looks for Qt Test nor
# builds a test.
TESTING ?= ON

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DBUILD_TESTING=$(TESTING)
	cmake --build $(BUILD)

play: TESTING = OFF
play: build
	$(BUILD)/bin/vortani

test: test-deps build
	scripts/build-qt-all.sh
	scripts/build-windows.sh $(WINDOWS_BUILD)
	scripts/build-web.sh $(WEB_BUILD)
	scripts/run-tests.sh $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)

bench: test-deps build
	scripts/build-qt-all.sh
	scripts/build-windows.sh $(WINDOWS_BUILD)
	scripts/build-web.sh $(WEB_BUILD)
	scripts/run-bench.sh $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)

fuzz: test-deps
	scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

screenshots: test-deps build
	scripts/screenshots.py $(BUILD)

# Tags of every kind count, pedantic ones included.
package: test-deps build
	rm -f $(BUILD)/vortani_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --pedantic -I --fail-on error,warning,info,pedantic $(BUILD)/vortani_*.deb

windows: windows-deps
	scripts/build-windows.sh $(WINDOWS_BUILD)

web: web-deps
	scripts/build-web.sh $(WEB_BUILD) -DBUILD_TESTING=OFF

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)
