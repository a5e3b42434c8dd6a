#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares what the Windows programs run in during the tests: a private Wine prefix with the
# forms' fonts, on a private virtual display, next to the tests' own sound server.
#   wine-start.sh <state-dir> <display-number>
# Exit 77 (skipped) when Wine or Xvfb is missing, unless CI=true: there that is a failure.
set -euo pipefail
state=${1:?usage: wine-start.sh <state-dir> <display-number>}
display=${2:?usage: wine-start.sh <state-dir> <display-number>}
missing_exit=77
[ "${CI:-}" = true ] && missing_exit=1
for tool in wine wineboot wineserver Xvfb fc-match; do
  if ! command -v "$tool" >/dev/null; then
    echo "wine-start: '$tool' is not installed (Debian: wine wine64 xvfb fontconfig)" >&2
    exit "$missing_exit"
  fi
done

"$(dirname "$0")/wine-stop.sh" "$state" "$display"
mkdir -p "$state"
state=$(cd "$state" && pwd)
export WINEPREFIX=$state/prefix WINEDEBUG=-all DISPLAY=:$display
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$state/xvfb.log" 2>&1 &
echo $! >"$state/xvfb.pid"
for _ in $(seq 50); do
  xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break
  sleep 0.1
done

# A prefix made by an earlier run is reused; one from an interrupted run is made anew.
if [ ! -f "$WINEPREFIX/.ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >"$state/wineboot.log" 2>&1
  wineserver -w
  # Windows has Arial and Comic Sans MS; Wine has neither. The forms ask for them by name, so
  # give those names the fonts fontconfig picks for them on Linux (Liberation Sans, Comic Neue).
  fonts=$WINEPREFIX/drive_c/windows/Fonts
  for family in "Arial" "Arial:bold" "Comic Sans MS" "Comic Sans MS:bold"; do
    cp -f "$(fc-match -f '%{file}' "$family")" "$fonts/"
  done
  reg=$state/fonts.reg
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"Arial"="%s"\r\n' "$(fc-match -f '%{family[0]}' Arial)"
    printf '"Comic Sans MS"="%s"\r\n' "$(fc-match -f '%{family[0]}' 'Comic Sans MS')"
  } >"$reg"
  wine regedit "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi
# One server and Wine's own background programs for the whole run, started here, away from the
# tests' output: a test's program would otherwise start them, and ctest would wait for them,
# holding that program's output, until the last of them ended. The server outlives each
# program by two minutes, and ends on its own if the run is cut short.
wineserver -p120 </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
echo "wine-start: prefix $WINEPREFIX on display $DISPLAY"
