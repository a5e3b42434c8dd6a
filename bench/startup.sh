#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the real program against a bare Qt window that links the same Qt modules: the time
# from exec until the window titled "Vortani Puzzle" is mapped, and the resident memory once it
# has settled. Runs alternate between the two programs after one unrecorded warm-up each; the
# medians and the ratios game/bare are printed. A private session bus stands in for a desktop's:
# without one, the first widget that speaks to the accessibility layer has D-Bus start a bus of
# its own (a quarter of a second, and a daemon left behind).
# usage: bench/startup.sh [build folder]   (VORTANI_BENCH_RUNS, default 5; VORTANI_BENCH_SETTLE, s)
set -euo pipefail
build=${1:-build}
runs=${VORTANI_BENCH_RUNS:-5}
settle=${VORTANI_BENCH_SETTLE:-1}
game=$build/bin/vortani
bare=$build/bin/bare_window
for p in "$game" "$bare"; do
  [ -x "$p" ] || { echo "startup: $p is not built" >&2; exit 1; }
done
for tool in Xvfb xdotool xev xprop dbus-daemon; do
  command -v $tool >/dev/null || { echo "startup: needs $tool (scripts/install-deps.sh)" >&2; exit 1; }
done

# A private virtual display and session bus (tests/e2e/vortani_e2e.py), for the whole run.
if [ -z "${VORTANI_BENCH_DISPLAY:-}" ]; then
  VORTANI_BENCH_DISPLAY=1 exec /usr/bin/python3 -B "$(dirname "$0")/../tests/e2e/vortani_e2e.py" \
    display "$0" "$@"
fi
pid= xev=
log=$(mktemp)
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  [ -z "$xev" ] || kill "$xev" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb

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
  "$1" >/dev/null 2>"$log" &
  pid=$!
  end= window=
  for _ in $(seq 100); do
    if read -r -t 0.2 line <&3; then
      if [[ $line == MapNotify* ]]; then
        end=${EPOCHREALTIME/./}
        read -r line <&3
        window=${line#*window }
        window=${window%%,*}
        break
      fi
    elif ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      echo "startup: $1 ended (status $status) before showing its window:" >&2
      cat "$log" >&2
      exit 1
    fi
  done
  [ -n "$end" ] || { echo "startup: $1 showed no window" >&2; exit 1; }
  [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "Vortani Puzzle" ] ||
    { echo "startup: $1 mapped a window other than \"Vortani Puzzle\" first" >&2; exit 1; }
  sleep "$settle" # the measure: resident memory that long after the window showed
  kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  us=$((end - start))
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

measure "$game"
measure "$bare"
game_us=() game_kib=() bare_us=() bare_kib=()
for i in $(seq "$runs"); do
  measure "$game"
  game_us+=("$us") game_kib+=("$kib")
  measure "$bare"
  bare_us+=("$us") bare_kib+=("$kib")
  awk -v i="$i" -v gu="${game_us[-1]}" -v gk="${game_kib[-1]}" -v bu="${bare_us[-1]}" \
    -v bk="${bare_kib[-1]}" 'BEGIN {
    printf "run %d: game %7.1f ms %8.1f MiB   bare %7.1f ms %8.1f MiB\n", i, gu / 1000, gk / 1024,
      bu / 1000, bk / 1024 }'
done

gu=$(printf '%s\n' "${game_us[@]}" | median) gk=$(printf '%s\n' "${game_kib[@]}" | median)
bu=$(printf '%s\n' "${bare_us[@]}" | median) bk=$(printf '%s\n' "${bare_kib[@]}" | median)
awk -v gu="$gu" -v gk="$gk" -v bu="$bu" -v bk="$bk" -v n="$runs" 'BEGIN {
  printf "median of %d runs   game          bare          game/bare  target\n", n
  printf "start-up to mapped  %8.1f ms   %8.1f ms   %6.2f     1.30 %s\n", gu / 1000, bu / 1000, gu / bu, (gu / bu <= 1.3 ? "met" : "MISSED")
  printf "resident memory     %8.1f MiB  %8.1f MiB  %6.2f     1.30 %s\n", gk / 1024, bk / 1024, gk / bk, (gk / bk <= 1.3 ? "met" : "MISSED")
}'
