#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the package tests. start_wine <state> <display>: a fresh prefix on a display of the
# test's own (wine-start.sh), both gone when it ends. wait_window <pid> <log>: the game's window.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
passed=0
fail() { echo "FAIL: $*" >&2 && exit 1; }
ok() { echo "ok: $*" && passed=$((passed + 1)); }
start_wine() {
  state=$1
  # A display in use means another run of the same test: its state must not be swept away.
  ! { [ -f "/tmp/.X$2-lock" ] && kill -0 $(cat "/tmp/.X$2-lock") 2>/dev/null; } ||
    fail "display :$2 is in use, by another run of this test?"
  rm -rf "$state"
  mkdir -p "$state/home"
  # Nothing reaches the Linux desktop's menus or home; only a program's own folder gives DLLs.
  export HOME=$state/home WINEPREFIX=$state/prefix WINEDEBUG=-all DISPLAY=:$2
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset WINEPATH WINEQT_QPA_PLATFORM
  trap '"$here/wine-stop.sh" "$state" '"$2"'; rm -rf "$WINEPREFIX"' EXIT
  "$here/wine-start.sh" "$state" "$2" >/dev/null
}
wait_window() {
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Vortani Puzzle$' >/dev/null 2>&1 && return 0
    kill -0 "$1" 2>/dev/null || fail "the program ended without its window: $(tail -5 "$2")"
    sleep 0.1
  done
  fail "no window 'Vortani Puzzle' within 60 s: $(tail -5 "$2")"
}
