#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang in a build folder of their own and runs each for a bounded
# time, starting from the committed seeds. New inputs gather in <build>/corpus/<target>, findings
# (crashes, broken properties, sanitizer reports) in <build>/findings/<target>; any finding fails.
# usage: scripts/run-fuzz.sh [build folder, default build-fuzz] [seconds per target, default 60]
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORTANI_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build "$build" --target fuzz_answerparser fuzz_wavimage

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in answerparser wavimage; do
  echo "== fuzz_$target, ${seconds} s"
  rm -rf "$build/findings/$target"
  mkdir -p "$build/corpus/$target" "$build/findings/$target"
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
           -artifact_prefix="$build/findings/$target/")
  [ -f "$here/fuzz/$target.dict" ] && options+=(-dict="$here/fuzz/$target.dict")
  "$build/bin/fuzz_$target" "${options[@]}" "$build/corpus/$target" "$here/fuzz/corpus/$target" \
    2>"$build/fuzz_$target.log" || status=1
  grep -E '^(stat::|INFO: Seed|#[0-9]+[[:space:]]+(INITED|DONE)|SUMMARY|==[0-9]+==ERROR)' "$build/fuzz_$target.log" || true
  if [ -n "$(ls -A "$build/findings/$target")" ]; then
    echo "findings in $build/findings/$target:"
    ls "$build/findings/$target"
    status=1
  fi
done
exit $status
