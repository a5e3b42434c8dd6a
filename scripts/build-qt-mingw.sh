#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for 64-bit Windows with MinGW-w64, from Debian's own qt6-base source package, once,
# into the cache of scripts/lib/qt-cache.sh, keyed by the configure options, the toolchain file
# and the host Qt's and the compiler's versions. Prints the Qt prefix on its last line.
#   build-qt-mingw.sh [--prefix | --seed-only]
# Building takes 30 to 45 minutes on two cores; the install is about 85 MB. Nothing outside the
# cache folder is written: Debian's source comes through an apt configuration of the cache's own.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/qt-cache.sh
source "$here/scripts/lib/qt-cache.sh"
toolchain=$here/cmake/mingw-w64.cmake

# Only what the game and its tests need: Core, Gui, Widgets, PrintSupport, Test, the JPEG
# plugin, the windows and offscreen platforms. The +dfsg tarball has no wintab, which the tablet
# events and Direct2D 1.1 want; Debian's cross patch adds androiddeployqt, of no use here.
configure_options=(
  -release -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests -no-pkg-config
  -no-opengl -no-feature-vulkan -no-dbus -no-icu
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent
  -no-feature-tabletevent -no-feature-direct2d1_1 -no-feature-androiddeployqt
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype -qt-pcre -qt-doubleconversion
)

# The host's moc, rcc and uic generate code for the Windows build, so the source must be the
# very version of the installed host Qt; that version and the compiler's are part of the key.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
family=qt6-mingw
label="Qt for MinGW"
key=$( (printf '%s\n' "${configure_options[@]}" && cat "$toolchain" &&
  echo "$version $compiler") | sha256sum | cut -c1-16)
qt_cache_open "${1:-}"
export PKG_CONFIG_LIBDIR=

qt_fetch_source "$version"
qt_gather_notices "$version"
qt_build_and_install "${configure_options[@]}" \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
