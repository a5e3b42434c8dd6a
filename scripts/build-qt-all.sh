#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes or builds both cached Qts, for Windows and for the web, at the same time: each build has
# long stretches on one core (configure, linking), so two side by side take little longer than
# the longer one alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build-qt-mingw.sh" >/dev/null &
mingw=$!
"$here/scripts/build-qt-wasm.sh" >/dev/null &
wasm=$!
status=0
wait $mingw || { echo "Qt for MinGW failed" >&2 && status=1; }
wait $wasm || { echo "Qt for the web failed" >&2 && status=1; }
exit $status
