#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the Windows edition into a build folder: Vortani.exe, the Windows test programs,
# the portable zip and the MSI. Qt for MinGW comes from the cache (scripts/build-qt-mingw.sh),
# built first if the cache has none for the current recipe. Arguments after the folder go to
# CMake's configure step (-DBUILD_TESTING=OFF: the game and its packages alone).
#   build-windows.sh [<build folder> [<cmake option>...]]
set -euo pipefail
build=${1:-build-windows}
shift || true
here=$(cd "$(dirname "$0")/.." && pwd)
# The signing certificate as the caller named it: the build runs its steps in folders of its own.
if [ -n "${VORTANI_SIGN_PKCS12:-}" ]; then
  VORTANI_SIGN_PKCS12=$(realpath -m -- "$VORTANI_SIGN_PKCS12")
  export VORTANI_SIGN_PKCS12
fi
qt=$("$here/scripts/build-qt-mingw.sh" | tail -n1)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "$@"
cmake --build "$build"
cmake --build "$build" --target windows_packages
