#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every test headless: in the normal build, then the Windows edition's under Wine, then the
# web edition's in Chromium, then in a fourth build folder under the address and
# undefined-behaviour sanitizers, where any report fails the test. The services some tests need (sound server, printer, Wine) are started and
# stopped by ctest fixtures. The storm's random soak is not run here: ctest -L soak runs it.
#   run-tests.sh <build> <windows-build> <web-build>
set -euo pipefail
build=${1:-build}
windows_build=${2:-build-windows}
web_build=${3:-build-web}
here=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen

echo "== tests"
ctest --test-dir "$build" --output-on-failure --timeout 600 -j2 -LE soak

echo "== the Windows edition, under Wine"
ctest --test-dir "$windows_build" --output-on-failure --timeout 600 -j2

echo "== the web edition, in Chromium, Firefox and WebKit"
ctest --test-dir "$web_build" --output-on-failure --timeout 600

echo "== tests under the sanitizers"
cmake -S "$here" -B "$build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORTANI_SANITIZE=ON
cmake --build "$build-sanitize"
# strstr unchecked: speech-dispatcher's library parses its list of voices with it, hundreds of
# lines one strstr each, which the checked one makes minutes long.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:intercept_strstr=0
export LSAN_OPTIONS=suppressions=$here/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build-sanitize" --output-on-failure --timeout 900 -j2 -LE soak
