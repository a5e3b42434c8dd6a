#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual display: it opens on the start screen, and its exit button ends
# the process at once with status 0, also after a visit to the exercise screen.
set -euo pipefail
program=$1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || fail "$tool is not installed"
done
export DISPLAY=:${VORTANI_TEST_DISPLAY:-96}
# -noreset: the next program started must not meet the server resetting after the last one left.
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
unset QT_QPA_PLATFORM

windows() { xdotool search --onlyvisible --name '^Vortani Puzzle$' 2>/dev/null | wc -l; }
wait_windows() { # count
  for _ in $(seq 200); do
    [ "$(windows)" -eq "$1" ] && return 0
    sleep 0.1
  done
  fail "expected $1 visible window(s), saw $(windows)"
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }

# Straight out through the start screen's exit, or in and back out first.
for visit in no yes; do
  "$program" &
  game=$!
  wait_windows 1
  eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^Vortani Puzzle$' | head -n1)")"
  if [ $visit = yes ]; then
    click 370 170 # Addizione
    wait_windows 2
    sleep 0.3
    click 562 358 # the exercise screen's exit
    wait_windows 1
    sleep 0.3
  fi
  click 450 314 # the start screen's exit
  for _ in $(seq 100); do
    kill -0 $game 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 $game 2>/dev/null; then
    kill $game
    fail "the program did not end (visit: $visit)"
  fi
  status=0
  wait $game || status=$?
  [ $status -eq 0 ] || fail "exit status $status (visit: $visit)"
done
echo "2 passed, 0 failed"
