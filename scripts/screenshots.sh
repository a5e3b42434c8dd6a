#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots from the real program on a virtual display: the start screen,
# and the exercise screen in the middle of a puzzle (a few tiles solved, one chosen, a verdict).
# Answers are found the way a child might: by trying numbers until the tile goes away.
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshots}
mkdir -p "$out"
export DISPLAY=:${VORTANI_SHOT_DISPLAY:-97}
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $game $xvfb 2>/dev/null || true' EXIT
sleep 1
"$build/bin/vortani" >/dev/null 2>&1 &
game=$!
for _ in $(seq 50); do
  win=$(xdotool search --name '^Vortani Puzzle$' 2>/dev/null | head -n1) && [ -n "$win" ] && break
  sleep 0.2
done
eval "$(xdotool getwindowgeometry --shell "$win")"
ox=$X oy=$Y

click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; sleep "${3:-0.15}"; }
pixel() { import -window root -crop 1x1+$((ox + $1))+$((oy + $2)) -depth 8 txt:- | tail -n1 | grep -o '#[0-9A-F]\{6\}' || true; }
shot() { import -window root -crop 632x453+$ox+$oy +repage "$out/$1"; echo "$out/$1"; }

shot start.png
click 370 170 0.6 # Addizione
click 58 158 0.6  # level Basso

# Keypad key centres on the form.
declare -A key=([7]="520 140" [8]="560 140" [9]="600 140" [4]="520 180" [5]="560 180"
  [6]="600 180" [1]="520 220" [2]="560 220" [3]="600 220" [0]="520 260")
type_number() { local n=$1 i; for ((i = 0; i < ${#n}; i++)); do click ${key[${n:i:1}]} 0.05; done; }
ok() { click 560 300 0.3; }

solve() { # tile column, row
  local x=$((128 + 88 * $1 + 44)) y=$((76 + 88 * $2 + 20)) n face
  click $x $y 0.1
  xdotool mousemove $((ox + 560)) $((oy + 420)) # off the tile: no hover shading
  sleep 0.3
  face=$(pixel $x $y) # the chosen tile's highlight; the picture shows once it is solved
  for n in $(seq 2 19); do
    type_number "$n"
    ok
    [ "$(pixel $x $y)" != "$face" ] && return 0
  done
}
solve 0 0
solve 2 1
solve 3 2
solve 1 2
click $((128 + 88 + 44)) $((76 + 88 + 44)) 0.3 # choose a tile
type_number 1
ok # a wrong answer
type_number 7
xdotool mousemove $((ox + 300)) $((oy + 20))
sleep 0.4
shot exercise.png
