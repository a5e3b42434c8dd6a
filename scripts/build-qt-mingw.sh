#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for 64-bit Windows with MinGW-w64, from Debian's own qt6-base source package, once.
# The result goes into a cache outside the clone, in a folder named after a key of what shapes
# the built Qt (the configure options, the toolchain file, the host Qt's and the compiler's
# versions), so a changed recipe builds afresh and an unchanged one is reused. Prints the Qt
# prefix on its last line.
#   build-qt-mingw.sh              take the cache, else a seed, else build; print the prefix
#   build-qt-mingw.sh --prefix     print the prefix the recipe would use, build nothing
#   build-qt-mingw.sh --seed-only  take the cache or a seed, never build (fails without one)
# VORTANI_CACHE     the cache folder (default ~/.cache/vortani)
# VORTANI_CACHE_SEED  a folder of prebuilt caches: <cache folder name>.tar.xz is unpacked instead
#                   of building, after checking it against SHA256SUMS there when there is one
# Building takes 30 to 45 minutes on two cores; the install is about 85 MB. Nothing outside the
# cache folder is written: Debian's source comes through an apt configuration of the cache's own.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$here/cmake/mingw-w64.cmake
cache=${VORTANI_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vortani}

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
key=$( (printf '%s\n' "${configure_options[@]}" && cat "$toolchain" &&
  echo "$version $compiler") | sha256sum | cut -c1-16)
name=qt6-mingw-$key
prefix=$cache/$name

mode=${1:-build}
case $mode in
  build | --seed-only) ;;
  --prefix)
    echo "$prefix"
    exit 0
    ;;
  *)
    echo "usage: $0 [--prefix | --seed-only]" >&2
    exit 2
    ;;
esac
mkdir -p "$cache"

# One run per recipe at a time; a second one waits for the first and then finds its result.
exec 9>"$cache/$name.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# A seed is unpacked beside the cache and moved in whole, so a cut-off unpack leaves nothing.
take_seed() {
  local seed=${VORTANI_CACHE_SEED:-}
  [ -n "$seed" ] || return 1
  if [ ! -f "$seed/$name.tar.xz" ]; then
    echo "The seed folder $seed holds no $name.tar.xz" >&2
    return 1
  fi
  if [ -f "$seed/SHA256SUMS" ]; then
    local listed actual
    listed=$(awk -v f="$name.tar.xz" '$2 == f || $2 == "*" f { print $1; exit }' \
      "$seed/SHA256SUMS")
    actual=$(sha256sum "$seed/$name.tar.xz" | cut -d' ' -f1)
    if [ "$listed" != "$actual" ]; then
      echo "Refused the seed $seed/$name.tar.xz: SHA256SUMS lists ${listed:-no checksum for it}," \
        "the file's is $actual" >&2
      return 1
    fi
  fi
  # Called as a condition, where set -e does not hold: every step is checked by hand, so that a
  # cut-off archive whose .complete came early is not taken.
  local unpack=$cache/$name.unpack
  rm -rf "$unpack"
  mkdir -p "$unpack"
  if ! tar -xJf "$seed/$name.tar.xz" -C "$unpack" --no-same-owner ||
    [ ! -f "$unpack/$name/.complete" ]; then
    echo "Refused the seed $seed/$name.tar.xz: it holds no complete $name" >&2
    rm -rf "$unpack"
    return 1
  fi
  rm -rf "$prefix"
  mv "$unpack/$name" "$prefix" || return 1
  rm -rf "$unpack"
  echo "Took Qt for MinGW from the seed $seed/$name.tar.xz" >&2
}

# Finished builds of other recipes go; one another run holds the lock of is left alone. Lock
# files stay: one removed while a waiting run has it open would let a third run take a second
# lock on a new file and build beside the second.
sweep_other_recipes() {
  local dir other
  for dir in "$cache"/qt6-mingw-*/; do
    [ -d "$dir" ] || continue
    dir=${dir%/}
    other=$(basename "$dir")
    other=${other%.unpack}
    other=${other#qt6-mingw-work-}
    other=${other#qt6-mingw-}
    [ "$other" = "$key" ] && continue
    (
      flock -n 9 || exit 0
      rm -rf "$dir"
    ) 9>"$cache/qt6-mingw-$other.lock"
  done
}

if take_seed; then
  sweep_other_recipes
  echo "$prefix"
  exit 0
fi
if [ "$mode" = --seed-only ]; then
  echo "No cache and no usable seed for $name" >&2
  exit 1
fi
sweep_other_recipes

# What an interrupted run left: its source and build, and a prefix half installed.
work=$cache/qt6-mingw-work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# Debian's source of the installed version, through a private apt configuration: deb-src entries
# of the archives the system's binaries come from, and lists and caches of its own. Builds of
# two recipes share it, one at a time.
apt_dir=$cache/apt
exec 8>"$cache/apt.lock"
flock 8
rm -rf "$apt_dir/sources.list.d"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
: >"$apt_dir/sources.list"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed 's/^Types:.*\bdeb\b.*$/Types: deb-src/' "$f" \
    >"$apt_dir/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && sed -n 's/^deb /deb-src /p' "$f" >>"$apt_dir/sources.list"
done
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)"
)
# An archive of someone else's that publishes no sources fails the update without being needed:
# whether Debian's was reached, apt-get source tells.
apt-get "${apt_options[@]}" update -qq >"$work/apt.log" 2>&1 || true
apt-get "${apt_options[@]}" source -qq "qt6-base=$version" >>"$work/apt.log" 2>&1 || {
  tail -20 "$work/apt.log" >&2
  exit 1
}
exec 8>&-
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)

# What the notices of a shipped Qt are made from: Debian's copyright file, Qt's licence texts
# (the folder LICENSES) and the bundled libraries' own licence files and attributions, as they
# are in the source built. Gathered before the long build, so that a fault here costs nothing.
notices=$work/notices
mkdir -p "$notices"
cp "$src/debian/copyright" "$notices/debian-copyright"
(cd "$src" && find . -maxdepth 1 -name 'LICENSE*' -exec cp -r --parents -t "$notices" {} +)
(cd "$src" && find src/3rdparty src/gui/painting src/corelib -maxdepth 3 \
  \( -name 'qt_attribution.json' -o -iname '*LICENSE*' -o -iname 'COPYING*' \
  -o -iname 'LICENCE*' -o -iname 'README*' \) -type f \
  -exec cp --parents -t "$notices" {} +)
(cd "$work" && ls ./*.dsc ./*.tar.* | sed 's|^\./||') >"$notices/debian-source-files"
echo "qt6-base $version" >"$notices/version"

mkdir build
cd build
export PKG_CONFIG_LIBDIR=
"$src/configure" -prefix "$prefix" "${configure_options[@]}" \
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

mkdir -p "$prefix/share/notices"
cp -r "$work/notices" "$prefix/share/notices/qt6-base"

touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
