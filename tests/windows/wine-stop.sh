#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Ends what wine-start.sh started for the same state folder: Wine's server, then the display.
# The prefix stays for the next run.
set -uo pipefail
state=${1:?usage: wine-stop.sh <state-dir> <display-number>}
[ -d "$state" ] || exit 0
if [ -d "$state/prefix" ] && command -v wineserver >/dev/null; then
  WINEPREFIX=$state/prefix wineserver -k 2>/dev/null
  WINEPREFIX=$state/prefix wineserver -w 2>/dev/null
fi
pid=$(cat "$state/xvfb.pid" 2>/dev/null || true)
if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
  kill "$pid"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
fi
rm -f "$state/xvfb.pid"
exit 0
