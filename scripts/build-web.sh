#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the web edition into a build folder: <build>/site, the folder of static files to serve,
# and <build>/Vortani-<version>-web.zip. Qt for the web comes from the cache
# (scripts/build-qt-wasm.sh), built first if the cache has none for the current recipe.
# Arguments after the folder go to CMake's configure step (-DBUILD_TESTING=OFF: the page alone).
#   build-web.sh [<build folder> [<cmake option>...]]
set -euo pipefail
build=${1:-build-web}
shift || true
here=$(cd "$(dirname "$0")/.." && pwd)
qt=$("$here/scripts/build-qt-wasm.sh" | tail -n1)
# Debian's emcc finds its node modules here; Qt's CMake files look for an emsdk.
export NODE_PATH=/usr/share/nodejs EMSDK=$qt/emsdk
"$qt/bin/qt-cmake" -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVORTANI_EMSDK="$EMSDK" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake "$@"
cmake --build "$build"
