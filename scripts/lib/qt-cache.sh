# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that build Qt once for another platform (build-qt-mingw.sh,
# build-qt-wasm.sh). A build goes into a cache outside the clone, in a folder named after a key of
# what shapes it, so a changed recipe builds afresh and an unchanged one is reused.
# The caller sets, before qt_cache_open:
#   family   the folders' common name (qt6-mingw), the key is appended to it
#   key      the recipe's key
#   label    what is built, for messages ("Qt for MinGW")
# and reads back cache, name, prefix and work.
# VORTANI_CACHE     the cache folder (default ~/.cache/vortani)
# VORTANI_CACHE_SEED  a folder of prebuilt caches: <name>.tar.xz is unpacked instead of building,
#                   after checking it against SHA256SUMS there when there is one

cache=${VORTANI_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vortani}

# Handles the mode argument; returns only when a build is wanted, with the recipe's lock held.
#   (none)       take the cache, else a seed, else build; print the prefix
#   --prefix     print the prefix the recipe would use, build nothing
#   --seed-only  take the cache or a seed, never build (fails without one)
qt_cache_open() {
  name=$family-$key
  prefix=$cache/$name
  work=$cache/$family-work-$key
  local mode=${1:-build}
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
  if qt_take_seed; then
    qt_sweep_other_recipes
    echo "$prefix"
    exit 0
  fi
  if [ "$mode" = --seed-only ]; then
    echo "No cache and no usable seed for $name" >&2
    exit 1
  fi
  qt_sweep_other_recipes
  # What an interrupted run left: its source and build, and a prefix half installed.
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
}

# A seed is unpacked beside the cache and moved in whole, so a cut-off unpack leaves nothing.
qt_take_seed() {
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
  echo "Took $label from the seed $seed/$name.tar.xz" >&2
}

# Finished builds of other recipes of the same family go; one another run holds the lock of is
# left alone. Lock files stay: one removed while a waiting run has it open would let a third run
# take a second lock on a new file and build beside the second.
qt_sweep_other_recipes() {
  local dir other
  for dir in "$cache/$family"-*/; do
    [ -d "$dir" ] || continue
    dir=${dir%/}
    other=$(basename "$dir")
    other=${other%.unpack}
    other=${other#"$family"-work-}
    other=${other#"$family"-}
    [ "$other" = "$key" ] && continue
    (
      flock -n 9 || exit 0
      rm -rf "$dir"
    ) 9>"$cache/$family-$other.lock"
  done
}

# Debian's source of qt6-base at the given version into $work, through a private apt
# configuration: deb-src entries of the archives the system's binaries come from, and lists and
# caches of its own. Builds of two recipes share it, one at a time. Sets src.
qt_fetch_source() {
  local version=$1
  local apt_dir=$cache/apt
  exec 8>"$cache/apt.lock"
  flock 8
  rm -rf "$apt_dir/sources.list.d"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
  : >"$apt_dir/sources.list"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types:.*\bdeb\b.*$/Types: deb-src/' "$f" \
      >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb /deb-src /p' "$f" >>"$apt_dir/sources.list"
  done
  local apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "APT::Sandbox::User=$(id -un)"
  )
  # An archive of someone else's that publishes no sources fails the update without being
  # needed: whether Debian's was reached, apt-get source tells.
  (cd "$work" && apt-get "${apt_options[@]}" update -qq) >"$work/apt.log" 2>&1 || true
  (cd "$work" && apt-get "${apt_options[@]}" source -qq "qt6-base=$version") \
    >>"$work/apt.log" 2>&1 || {
    tail -20 "$work/apt.log" >&2
    exit 1
  }
  exec 8>&-
  src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
}

# What the notices of a shipped Qt are made from: Debian's copyright file, Qt's licence texts
# (the folder LICENSES) and the bundled libraries' own licence files and attributions, as they
# are in the source built. Gathered before the long build, so that a fault here costs nothing.
qt_gather_notices() {
  local version=$1 notices=$work/notices
  mkdir -p "$notices"
  cp "$src/debian/copyright" "$notices/debian-copyright"
  (cd "$src" && find . -maxdepth 1 -name 'LICENSE*' -exec cp -r --parents -t "$notices" {} +)
  (cd "$src" && find src/3rdparty src/gui/painting src/corelib -maxdepth 3 \
    \( -name 'qt_attribution.json' -o -iname '*LICENSE*' -o -iname 'COPYING*' \
    -o -iname 'LICENCE*' -o -iname 'README*' \) -type f \
    -exec cp --parents -t "$notices" {} +)
  (cd "$work" && ls ./*.dsc ./*.tar.* | sed 's|^\./||') >"$notices/debian-source-files"
  echo "qt6-base $version" >"$notices/version"
}

# Configures, builds and installs the source in $work/build with the given configure arguments
# (those after -- go to CMake), then marks the prefix complete and drops the work folder.
qt_build_and_install() {
  mkdir -p "$work/build"
  cd "$work/build"
  "$src/configure" -prefix "$prefix" "$@" >"$work/configure.log" 2>&1 || {
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
}
