#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmarks: medians over repeated runs, printed per case, then the start-up of the real
# program against a bare Qt window on a virtual display (bench/startup.sh), and the same for the
# Windows edition under Wine, and the web edition's first visit and start-up against a bare Qt
# window built for the web (bench/web).
#   run-bench.sh <build> <windows build> <web build>
set -euo pipefail
build=${1:-build}
windows_build=${2:-build-windows}
web_build=${3:-build-web}
here=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen
# Other work on the machine shows in every figure: say how busy it was.
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
for bench in "$build"/bin/bench_*; do
  echo "== $(basename "$bench")"
  case $(basename "$bench") in
    # Times single events itself and reports their median; QtTest runs it once more as a warm-up.
    bench_interaction) "$bench" ;;
    *) "$bench" -minimumvalue 0 -median 9 -iterations 5000 ;;
  esac
done
echo "== start-up"
"$here/bench/startup.sh" "$build"
echo "== start-up of the Windows edition, under Wine"
"$here/bench/startup.sh" "$windows_build" wine
# The bare window for the web is linked only for this: minutes of the optimiser, as the game's.
cmake --build "$web_build" --target bare_window
# Debian's Python: the brotli module is its package's.
echo "== the web edition's first visit: what it downloads until the start form is drawn"
/usr/bin/python3 -B "$here/bench/web/first_visit.py" "$web_build/site" "$web_build/bare-site"
echo "== start-up of the web edition against a bare Qt window, in Chromium and Firefox"
/usr/bin/python3 -B "$here/bench/web/startup.py" "$web_build/site" "$web_build/bare-site"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
