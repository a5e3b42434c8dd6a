#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for 64-bit Windows with MinGW-w64, from Debian's own qt6-base source package, once.
# The result goes into a cache outside the clone, in a folder named after a hash of this recipe
# (this script and the toolchain file), so a changed recipe builds afresh and an unchanged one
# is reused. Prints the Qt prefix on its last line.
#   build-qt-mingw.sh            build if missing, print the prefix
#   build-qt-mingw.sh --prefix   print the prefix the recipe would use, build nothing
# Takes about 19 minutes on two cores; the install is about 83 MB.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$here/cmake/mingw-w64.cmake
cache=${VORTANI_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vortani}
# The host's moc, rcc and uic generate code for the Windows build, so the source must be the
# very version of the installed host Qt; that version and the compiler's are part of the recipe.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
key=$( (cat "$0" "$toolchain" && echo "$version $compiler") | sha256sum | cut -c1-16)
prefix=$cache/qt6-mingw-$key

if [ "${1:-}" = --prefix ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# Builds of earlier recipes are of no further use.
work=$cache/qt6-mingw-work-$key
rm -rf "$cache"/qt6-mingw-*
mkdir -p "$work"
cd "$work"

# A deb-src entry of the same archive the binaries came from.
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    list=/etc/apt/sources.list.d/vortani-deb-src.sources
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo[@]}" tee "$list" >/dev/null
  else
    list=/etc/apt/sources.list.d/vortani-deb-src.list
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | "${sudo[@]}" tee "$list" >/dev/null
  fi
  echo "Added the source entry $list"
  "${sudo[@]}" apt-get update -qq
fi
apt-get source -qq "qt6-base=$version" >/dev/null
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

# Only what the game and its tests need: Core, Gui, Widgets, PrintSupport, Test, the JPEG
# plugin, the windows and offscreen platforms. The +dfsg tarball has no wintab, which the tablet
# events and Direct2D 1.1 want; Debian's cross patch adds androiddeployqt, of no use here.
mkdir build
cd build
export PKG_CONFIG_LIBDIR=
"$src/configure" -prefix "$prefix" -release -xplatform win32-g++ -qt-host-path /usr \
  -nomake examples -nomake tests -no-pkg-config \
  -no-opengl -no-feature-vulkan -no-dbus -no-icu \
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent \
  -no-feature-tabletevent -no-feature-direct2d1_1 -no-feature-androiddeployqt \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype -qt-pcre -qt-doubleconversion \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1 ||
  {
    tail -40 "$work/configure.log" >&2
    exit 1
  }
cmake --build . --parallel "$(nproc)" >"$work/build.log" 2>&1 || {
  tail -40 "$work/build.log" >&2
  exit 1
}
cmake --install . >"$work/install.log" 2>&1
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
