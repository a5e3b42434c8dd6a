#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual display, pressed as a child presses it: quick repeated presses
# on a keypad key each type a digit, at a fast and at a human double-click pace and with any
# mouse button; a key held down looks pressed; the exit button under the pointer shows the focus
# mark and nothing else changes on it.
set -euo pipefail
program=$1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in Xvfb xdotool xclip import compare; do
  command -v $tool >/dev/null || fail "$tool is not installed"
done
work=$(mktemp -d)
export DISPLAY=:${VORTANI_BUTTONS_DISPLAY:-95}
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
game=
trap 'kill $game $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

"$program" >/dev/null 2>&1 &
game=$!
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^Vortani Puzzle$' 2>/dev/null | head -n1) &&
    [ -n "$win" ] && break
  sleep 0.1
done
[ -n "${win:-}" ] || fail "the start screen did not show"
eval "$(xdotool getwindowgeometry --shell "$win")"
ox=$X oy=$Y

point() { xdotool mousemove $((ox + $1)) $((oy + $2)); }
click() { point "$1" "$2"; xdotool click "${3:-1}"; sleep "${4:-0.4}"; }
grab() { # name x y w h
  import -window root -crop "$4x$5+$((ox + $2))+$((oy + $3))" +repage "$work/$1.png"
}
differing() { # a b [crop]
  local a=$work/$1.png b=$work/$2.png
  if [ -n "${3:-}" ]; then
    convert "$a" -crop "$3" +repage "$work/a.png"
    convert "$b" -crop "$3" +repage "$work/b.png"
    a=$work/a.png b=$work/b.png
  fi
  compare -metric AE "$a" "$b" null: 2>&1 || true
}
answer() { # what the answer box holds, copied out of it
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  timeout 5 xclip -o -selection clipboard 2>/dev/null || true
}

passed=0
check() { # description, then a command that succeeds when the check holds
  local what=$1
  shift
  "$@" || fail "$what"
  passed=$((passed + 1))
}

click 370 170 1 1.0 # Addizione
for _ in $(seq 50); do
  [ "$(xdotool search --onlyvisible --name '^Vortani Puzzle$' | wc -l)" -eq 2 ] && break
  sleep 0.1
done
click 58 158 1 0.8 # level Basso
tile=(172 120)     # the first tile
key1=(520 220)
key5=(560 180)

# Quick presses: fast, at a child's double-click pace, and with the right and middle buttons.
for run in "2 80 1 11" "3 80 1 111" "2 250 1 11" "3 250 1 111" "2 80 3 11" "2 80 2 11"; do
  read -r count delay button expected <<<"$run"
  click "${tile[@]}" 1 0.5 # empties the answer box
  point "${key1[@]}"
  sleep 0.2
  xdotool click --repeat "$count" --delay "$delay" "$button"
  sleep 0.6
  got=$(answer)
  check "$count presses $delay ms apart with button $button typed '$got', not '$expected'" \
    test "$got" = "$expected"
done

# A key held down looks pressed: at rest (pointer elsewhere, no focus) against held.
click "${tile[@]}" 1 0.5
point 300 20
sleep 0.3
grab key-rest 544 164 33 33
point "${key5[@]}"
sleep 0.2
xdotool mousedown 1
sleep 0.4
grab key-held 544 164 33 33
xdotool mouseup 1
sleep 0.4
check "a held key looks as it does at rest" test "$(differing key-rest key-held)" -gt 0
point 300 20
sleep 0.3
grab key-after 544 164 33 33
check "a released key does not come back up" test "$(differing key-rest key-after)" -eq 0

# The exit button: the focus mark as the pointer arrives, and nothing else changes.
click "${tile[@]}" 1 0.5 # the focus goes to the tile
point 300 20
sleep 0.3
grab esci-rest 520 340 85 37
point 562 358
sleep 0.4
grab esci-hover 520 340 85 37
check "the exit button under the pointer looks as it does at rest" \
  test "$(differing esci-rest esci-hover)" -gt 0
for band in 75x27+5+5 85x4+0+0 85x4+0+33 4x37+0+0 4x37+81+0; do
  check "the exit button under the pointer changed outside its focus mark ($band)" \
    test "$(differing esci-rest esci-hover $band)" -eq 0
done

echo "$passed passed, 0 failed"
