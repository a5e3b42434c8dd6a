#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the running program through the desktop accessibility bus, as a screen reader does:
# a private session bus, the AT-SPI bus, a virtual display, the real program, and clicks made
# with xdotool.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in dbus-run-session Xvfb xdotool /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || [ -x "$tool" ] || fail "$tool is not installed"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"

export VORTANI_PROGRAM=$program
exec dbus-run-session -- bash -c '
  set -euo pipefail
  export DISPLAY=:91 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
  unset QT_QPA_PLATFORM
  Xvfb $DISPLAY -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  trap "kill \$bus \$xvfb 2>/dev/null || true" EXIT
  sleep 1
  # The checker listens before it starts the program, so that no announcement is missed.
  /usr/bin/python3 "'"$here"'/a11y_check.py"
'
