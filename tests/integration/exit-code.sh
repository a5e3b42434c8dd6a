#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual display: it opens on the start screen, and its exit button ends
# the process at once with status 0, also while the exercise screen was open.
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
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
unset QT_QPA_PLATFORM

run() { # clicks on the start form, given as form coordinates
  "$program" &
  local game=$! win=""
  for _ in $(seq 100); do
    win=$(xdotool search --name '^Vortani Puzzle$' 2>/dev/null | head -n1) && [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window appeared"
  eval "$(xdotool getwindowgeometry --shell "$win")"
  local x y
  while [ $# -gt 0 ]; do
    x=$1 y=$2
    shift 2
    xdotool mousemove $((X + x)) $((Y + y)) click 1
    sleep 0.5
  done
  for _ in $(seq 50); do
    kill -0 $game 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 $game 2>/dev/null; then
    kill $game
    fail "the program did not end"
  fi
  wait $game
}

# Straight out through the start screen's exit.
run 450 314 || fail "exit status $?"
# Into the exercise screen, back to the start screen, then out.
run 370 170 562 358 450 314 || fail "exit status $? after a visit"
echo "1 passed, 0 failed"
