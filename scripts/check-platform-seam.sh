#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the engine, the screens or main() ask the preprocessor which platform they are built
# for, naming each place: what differs between Linux, Windows and the web lives in src/services,
# chosen by CMake. Usage: check-platform-seam.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(cd "$(dirname "$0")/.." && pwd)}"
platform='Q_OS_[A-Z0-9_]+|_WIN32|_WIN64|WIN32|__MINGW(32|64)__|__EMSCRIPTEN__|__wasm(32|64)?__|__linux__|__unix__|__APPLE__|_MSC_VER'
if grep -rnE "^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*\b($platform)\b" \
  src/engine src/screens src/main.cpp; then
  echo "check-platform-seam: the platform tests above belong behind a service in src/services" >&2
  exit 1
fi
echo "check-platform-seam: no platform test in src/engine, src/screens or src/main.cpp"
