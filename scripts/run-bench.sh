#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmarks: medians over repeated runs, printed per case.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
for bench in "$build"/bin/bench_*; do
  echo "== $(basename "$bench")"
  "$bench" -minimumvalue 0 -median 9 -iterations 5000
done
