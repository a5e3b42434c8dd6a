#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for the web (WebAssembly) with Debian's emscripten, from Debian's own qt6-base source
# package, once, into the cache of scripts/lib/qt-cache.sh, keyed by the configure options and the
# versions of the host Qt and of emscripten. Prints the Qt prefix on its last line.
#   build-qt-wasm.sh [--prefix | --seed-only]
# Building takes 35 to 45 minutes on two cores; the install is about 65 MB, static.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/qt-cache.sh
source "$here/scripts/lib/qt-cache.sh"

# What the game needs: Core, Gui, Widgets, the wasm platform, the JPEG plugin; no threads (a page
# served without cross-origin isolation has none), no printing (the browser prints).
configure_options=(
  -release -static -xplatform wasm-emscripten -qt-host-path /usr
  -no-feature-thread -nomake examples -nomake tests -no-pkg-config -no-dbus -no-icu
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent
  -no-feature-testlib -no-feature-printsupport
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype -qt-pcre -qt-doubleconversion
)
emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

# The host's moc, rcc and uic generate code for this build, so the source is the very version of
# the installed host Qt.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
emscripten=$(dpkg-query -W -f='${Version}' emscripten)
family=qt6-wasm
label="Qt for the web"
key=$( (printf '%s\n' "${configure_options[@]}" && echo "$version $emscripten") |
  sha256sum | cut -c1-16)
qt_cache_open "${1:-}"

# Qt's configure looks for an emsdk: a stand-in one naming Debian's emcc is enough. It stays in the
# prefix, where the game's build finds it too. Debian's emcc wants its node modules found.
emsdk=$prefix/emsdk
mkdir -p "$emsdk/e"
echo "EMSCRIPTEN_ROOT = 'e'" >"$emsdk/.emscripten"
ln -sf /usr/bin/emcc "$emsdk/e/emcc"
ln -sf /usr/bin/em++ "$emsdk/e/em++"
export EMSDK=$emsdk NODE_PATH=/usr/share/nodejs
export PKG_CONFIG_LIBDIR=

qt_fetch_source "$version"
qt_gather_notices "$version"
qt_build_and_install "${configure_options[@]}" \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$emscripten_toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
