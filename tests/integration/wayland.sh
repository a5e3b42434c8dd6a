#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program (left by package.sh) as a Wayland client: a headless Weston compositor
# that can take screenshots and report its scene graph, a private session bus with the
# accessibility bus, and wayland_check.py, which starts the program and drives it.
# Screenshots of both steps are kept as BUILD_DIR/wayland-start.png and wayland-exercise.png.
# Usage: wayland.sh BUILD_DIR        Exits 77 (skipped) when a tool is missing, outside CI.
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

not_ready() { # a missing tool skips the test on a developer's machine and fails it under CI
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $*"
    exit 1
  fi
  echo "SKIP: $*"
  exit 77
}
for tool in weston weston-screenshooter weston-debug dbus-run-session compare \
  /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || not_ready "$tool is not installed (scripts/install-deps.sh test)"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || not_ready "python3-pyatspi is not installed"
dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'ok installed' ||
  not_ready "qt6-wayland, which the package recommends, is not installed"
marker=$build/package-under-test
[ -f "$marker" ] || {
  echo "FAIL: no installed package: package_install did not leave $marker"
  exit 1
}
program=$(sed -n 's/^root=//p' "$marker")/usr/games/vortani
[ -x "$program" ] || {
  echo "FAIL: $program is not there"
  exit 1
}

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston=""
cleanup() {
  [ -n "$weston" ] && kill "$weston" 2>/dev/null && wait "$weston" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=vortani-test
unset DISPLAY
# The pixman renderer draws into memory, so that screenshots have something to show; --debug lets
# any client take them and read the scene graph.
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
  --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do
  [ -S "$runtime/$WAYLAND_DISPLAY" ] && weston-debug -l >/dev/null 2>&1 && break
  sleep 0.1
done
kill -0 "$weston" 2>/dev/null && [ -S "$runtime/$WAYLAND_DISPLAY" ] || {
  cat "$runtime/weston.log"
  echo "FAIL: weston did not start"
  exit 1
}

export VORTANI_PROGRAM=$program VORTANI_SHOTS=$build VORTANI_WORK=$runtime
dbus-run-session -- bash -c '
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  trap "kill \$bus 2>/dev/null" EXIT
  sleep 1
  /usr/bin/python3 "'"$here"'/wayland_check.py"
'
