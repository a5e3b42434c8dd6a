#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the real program against a bare Qt window that links the same Qt modules: the time
# from exec until the window with the game's title is mapped, and the resident memory once it
# has settled. Runs alternate between the two programs after one unrecorded warm-up each; the
# medians and the ratios game/bare are printed. A private session bus stands in for a desktop's:
# without one, the first widget that speaks to the accessibility layer has D-Bus start a bus of
# its own (a quarter of a second, and a daemon left behind).
# With "wine", the Windows edition's Vortani.exe against the same yardstick built for Windows,
# both under Wine in a private prefix whose server stays up between runs; the time only, as
# Wine's memory is not the program's alone.
# usage: bench/startup.sh [build folder] [wine]   (VORTANI_BENCH_RUNS, default 5;
#        VORTANI_BENCH_SETTLE, s)
set -euo pipefail
build=${1:-build}
mode=${2:-linux}
runs=${VORTANI_BENCH_RUNS:-5}
settle=${VORTANI_BENCH_SETTLE:-1}
if [ "$mode" = wine ]; then
  game=("$build/bin/Vortani.exe") bare=("$build/bin/bare_window.exe")
else
  game=("$build/bin/vortani") bare=("$build/bin/bare_window")
fi
for p in "${game[0]}" "${bare[0]}"; do
  [ -f "$p" ] || { echo "startup: $p is not built" >&2; exit 1; }
done
# Both programs take their title from the build's facts (cmake/GameFacts.json).
title=$(/usr/bin/python3 -B -c 'import json, sys
print(json.load(open(sys.argv[1], encoding="utf-8"))["texts"]["WindowTitle"])' "$build/facts/facts.json")
if [ "$mode" = wine ]; then
  game=(wine "${game[@]}") bare=(wine "${bare[@]}")
fi
for tool in Xvfb xdotool xev xprop dbus-daemon; do
  command -v $tool >/dev/null || { echo "startup: needs $tool (scripts/install-deps.sh)" >&2; exit 1; }
done

# A private virtual display and session bus (tests/e2e/vortani_e2e.py), for the whole run.
if [ -z "${VORTANI_BENCH_DISPLAY:-}" ]; then
  VORTANI_BENCH_DISPLAY=1 exec /usr/bin/python3 -B "$(dirname "$0")/../tests/e2e/vortani_e2e.py" \
    display "$0" "$@"
fi
pid= xev= wine_state=
log=$(mktemp)
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  [ -z "$xev" ] || kill "$xev" 2>/dev/null || true
  if [ -n "$wine_state" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$wine_state"
  fi
  rm -f "$log"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb
if [ "$mode" = wine ]; then
  wine_state=$(mktemp -d)
  export WINEPREFIX=$wine_state/prefix WINEDEBUG=-all HOME=$wine_state
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # One server for every run, as on Windows, where the system is up before the game starts.
  wineserver -p
fi

# Every window mapped on the display, as xev reports it: waiting on its output costs no CPU, where
# polling with xdotool would take a core from the program being timed.
events=$(mktemp -u)
mkfifo "$events"
stdbuf -oL xev -root -event substructure -event property >"$events" 2>/dev/null &
xev=$!
exec 3<"$events"
rm -f "$events"
# xev listens once it reports a change of the root window's properties made for the purpose.
ready=
for _ in $(seq 50); do
  xprop -root -f _VORTANI_BENCH 8s -set _VORTANI_BENCH ready
  if read -r -t 0.2 line <&3 && [[ $line == PropertyNotify* ]]; then ready=1; break; fi
done
[ -n "$ready" ] || { echo "startup: xev reports no events" >&2; exit 1; }

# One run of a program: sets us (exec to mapped, microseconds) and kib (resident memory).
measure() {
  local start end line window status
  while read -r -t 0.2 line <&3; do :; done # what the last run left behind
  start=${EPOCHREALTIME/./}
  local -n command=$1
  "${command[@]}" >/dev/null 2>"$log" &
  pid=$!
  end= window=
  # Wine maps windows of its own before the program's: the first one with the title counts.
  local deadline=$((SECONDS + 60))
  while [ -z "$end" ] && ((SECONDS < deadline)); do
    if read -r -t 0.2 line <&3; then
      if [[ $line == MapNotify* ]]; then
        local mapped=${EPOCHREALTIME/./}
        read -r line <&3
        window=${line#*window }
        window=${window%%,*}
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$title" ] && end=$mapped
      fi
    elif ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      echo "startup: ${command[*]} ended (status $status) before showing its window:" >&2
      cat "$log" >&2
      exit 1
    fi
  done
  [ -n "$end" ] || { echo "startup: ${command[*]} showed no window \"$title\"" >&2; exit 1; }
  # The measure: resident memory that long after the window showed.
  [ "$mode" = wine ] || sleep "$settle"
  kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  us=$((end - start))
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

measure game
measure bare
game_us=() game_kib=() bare_us=() bare_kib=()
for i in $(seq "$runs"); do
  measure game
  game_us+=("$us") game_kib+=("$kib")
  measure bare
  bare_us+=("$us") bare_kib+=("$kib")
  awk -v i="$i" -v gu="${game_us[-1]}" -v gk="${game_kib[-1]}" -v bu="${bare_us[-1]}" \
    -v bk="${bare_kib[-1]}" -v mode="$mode" 'BEGIN {
    if (mode == "wine")
      printf "run %d: game %7.1f ms   bare %7.1f ms\n", i, gu / 1000, bu / 1000
    else
      printf "run %d: game %7.1f ms %8.1f MiB   bare %7.1f ms %8.1f MiB\n", i, gu / 1000,
        gk / 1024, bu / 1000, bk / 1024 }'
done

gu=$(printf '%s\n' "${game_us[@]}" | median) gk=$(printf '%s\n' "${game_kib[@]}" | median)
bu=$(printf '%s\n' "${bare_us[@]}" | median) bk=$(printf '%s\n' "${bare_kib[@]}" | median)
awk -v gu="$gu" -v gk="$gk" -v bu="$bu" -v bk="$bk" -v n="$runs" -v mode="$mode" 'BEGIN {
  printf "median of %d runs (%s)   game          bare          game/bare  target\n", n, mode
  printf "start-up to mapped  %8.1f ms   %8.1f ms   %6.2f     1.30 %s\n", gu / 1000, bu / 1000, gu / bu, (gu / bu <= 1.3 ? "met" : "MISSED")
  if (mode != "wine")
    printf "resident memory     %8.1f MiB  %8.1f MiB  %6.2f     1.30 %s\n", gk / 1024, bk / 1024, gk / bk, (gk / bk <= 1.3 ? "met" : "MISSED")
}'
