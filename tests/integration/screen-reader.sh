#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real screen reader against the real program, played with the keyboard alone: Orca with
# speech-dispatcher and espeak-ng (speaking into a null sink of a private sound server), a
# private session bus with the accessibility bus, a virtual display with a window manager.
# What Orca says is read back from its debug log. Exit 77 (skipped) when a tool is missing,
# unless CI=true: there a missing tool is a failure. VORTANI_KEEP=1 keeps the session's folder
# (Orca's log among it).
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
missing_exit=77
[ "${CI:-}" = true ] && missing_exit=1
for tool in orca speech-dispatcher espeak-ng openbox pulseaudio pactl dbus-run-session Xvfb xdotool \
  /usr/libexec/at-spi-bus-launcher /usr/lib/speech-dispatcher-modules/sd_espeak-ng; do
  if ! command -v "$tool" >/dev/null && [ ! -x "$tool" ]; then
    echo "screen-reader: $tool is not installed (see scripts/install-deps.sh test)" >&2
    exit "$missing_exit"
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "screen-reader: python3-pyatspi is not installed" >&2
  exit "$missing_exit"
fi

# Everything the session writes stays here: settings, sockets, logs.
work=$(mktemp -d /tmp/vortani-orca.XXXXXX)
trap '[ -n "${VORTANI_KEEP:-}" ] && echo "kept: $work" || rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/run" "$work/orca"
chmod 700 "$work/run"
# Orca's own settings: no key echo and no braille, so that its log holds what the program said.
cat >"$work/orca/user-settings.conf" <<'JSON'
{
  "general": {"enableKeyEcho": false, "enableBraille": false, "enableSpeech": true,
              "speechServerFactory": "speechdispatcherfactory"},
  "profiles": {"default": {"profile": ["Default", "default"]}},
  "pronunciations": {},
  "keybindings": {}
}
JSON
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config
export XDG_CACHE_HOME=$work/home/.cache LANG=C.UTF-8 LANGUAGE=C
export VORTANI_PROGRAM=$program VORTANI_WORK=$work DISPLAY=:${VORTANI_ORCA_DISPLAY:-89}
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_LINUX_ACCESSIBILITY_ALWAYS_ON PULSE_SERVER \
      SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
# Printing goes nowhere, so that the program says why.
export CUPS_SERVER=/nonexistent/vortani-no-cups.sock

dbus-run-session -- bash -c '
  set -euo pipefail
  pids=()
  stop() {
    # Orca ignores SIGTERM.
    [ -n "${orca:-}" ] && kill -9 "$orca" 2>/dev/null || true
    for pidfile in "$XDG_RUNTIME_DIR"/speech-dispatcher/pid/*.pid "$XDG_RUNTIME_DIR"/pulse/pid; do
      [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  }
  trap stop EXIT
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >"$VORTANI_WORK/openbox.log" 2>&1 &
  pids+=($!)
  # speech-dispatcher speaks through it; with no sound server at all Orca stalls.
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target="newfile:$VORTANI_WORK/pulse.log" \
    --load="module-null-sink sink_name=speech" --load="module-native-protocol-unix auth-anonymous=1"
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink speech
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  orca --user-prefs "$VORTANI_WORK/orca" --debug-file "$VORTANI_WORK/orca.log" \
    >"$VORTANI_WORK/orca.out" 2>&1 &
  orca=$!
  disown "$orca" # stopped with SIGKILL by the checker; no "Killed" notice
  export VORTANI_ORCA_PID=$orca
  /usr/bin/python3 "'"$here"'/screen_reader_check.py"
'
