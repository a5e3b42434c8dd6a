#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user gets it. cpack builds it from the build folder and lintian must
# have nothing to say about it; under CI=true (as root) dpkg installs it, otherwise it is unpacked
# into BUILD_DIR/package-root. The installed program is then checked for hardening, started
# through its games/ link from another folder on a virtual display and led to a puzzle: it must
# find its picture and use only run-time plugins and fonts that the package depends on.
# The package stays installed for the tests that need it; package-remove.sh takes it away.
# Usage: package.sh BUILD_DIR PICTURE_COUNT   Exits 77 (skipped) when a tool is missing, outside CI.
set -uo pipefail
build=$(cd "$1" && pwd)
pictures=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
ci=false
[ "${CI:-}" = true ] && ci=true
display=:${VORTANI_PACKAGE_DISPLAY:-81}

passed=0 failed=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

work=$(mktemp -d)
xvfb="" game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
finish() {
  cleanup
  trap - EXIT
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
trap cleanup EXIT
trap 'exit 143' TERM INT

not_ready() { # a missing tool skips the test on a developer's machine and fails it under CI
  if $ci; then
    fail "$*"
    finish
  fi
  echo "SKIP: $*"
  exit 77
}
for tool in cpack dpkg-deb dpkg-shlibdeps file Xvfb xdotool desktop-file-validate appstreamcli \
  lintian hardening-check; do
  command -v $tool >/dev/null || not_ready "$tool is not installed (scripts/install-deps.sh)"
done
if $ci && [ "$(id -u)" -ne 0 ]; then
  fail "under CI the package is installed with dpkg, which needs root"
  finish
fi

# ---- Build, then install or unpack ---------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack builds the package"
  finish
fi
deb=$(ls "$work"/out/vortani_*.deb)
echo "Package: $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

# Every kind of tag counts, pedantic ones included; lintian's own notices go to stderr.
tags=$(lintian --pedantic -I "$deb" 2>"$work/lintian.err")
status=$?
if [ $status -eq 0 ] && [ -z "$tags" ]; then
  pass "lintian --pedantic -I has nothing to say"
else
  echo "$tags"
  cat "$work/lintian.err"
  fail "lintian --pedantic -I reports on the package (status $status)"
fi

# Where the package is for the tests that need it, and whether package-remove.sh removes it.
marker=$build/package-under-test
rm -rf "$marker" "$build/package-root"
if $ci; then
  dpkg-query -W -f='${Status}' vortani 2>/dev/null | grep -q 'ok installed' && had=true || had=false
  $had || printf 'root=\ninstalled_here=true\n' >"$marker"
  # No apt-get -f afterwards: every dependency must already be there from install-deps.sh.
  if dpkg -i "$deb" >"$work/install.log" 2>&1; then
    pass "dpkg -i installs it with every dependency already present"
  else
    cat "$work/install.log"
    fail "dpkg -i installs it with every dependency already present"
    finish
  fi
  $had && printf 'root=\ninstalled_here=false\n' >"$marker"
  root=""
else
  root=$build/package-root
  dpkg-deb -x "$deb" "$root"
  printf 'root=%s\ninstalled_here=false\n' "$root" >"$marker"
fi
usr=$root/usr

# ---- Files beside the program and for the desktop -------------------------------------------------
# The pictures are kept with the game data, and reached from the program's folder by relative links.
missing=""
for n in $(seq "$pictures"); do
  link=$usr/lib/vortani/pic$n.jpg
  target=$(readlink "$link")
  [ -n "$target" ] && [ "${target#/}" = "$target" ] &&
    [ "$(realpath "$link")" = "$(realpath "$usr/share/games/vortani/pic$n.jpg")" ] &&
    [ "$(file -bL --mime-type "$link")" = image/jpeg ] || missing+=" pic$n.jpg"
done
[ -z "$missing" ] &&
  pass "the $pictures puzzle pictures are beside the program, linked from share/games/vortani" ||
  fail "pictures missing, not JPEG or not relative links into share/games/vortani:$missing"

# The protections the build asks for, read off the installed program. Control-flow protection
# is not required: Debian 12's C start-up files carry no CET marks, and the linker keeps a mark
# only when every object has it, so no program linked on Debian 12 can show one.
if hardening-check --nocfprotection "$usr/lib/vortani/vortani"; then
  pass "hardening-check finds PIE, stack protector, fortified calls, RELRO and BIND_NOW"
else
  fail "hardening-check finds the installed program not hardened"
fi

# The package's own entry and metainfo, not others installed on the machine.
packaged() { dpkg-deb -c "$deb" | grep -oE "\./usr/share/$1\$" | head -n1 | sed "s:^\.:$root:"; }
desktop=$(packaged 'applications/[^/]*\.desktop')
metainfo=$(packaged 'metainfo/[^/]*\.metainfo\.xml')
if [ -n "$desktop" ] && desktop-file-validate "$desktop"; then
  pass "desktop-file-validate $(basename "$desktop")"
else
  fail "no valid desktop entry in share/applications"
fi
if [ -n "$metainfo" ] && appstreamcli validate --pedantic --no-net "$metainfo"; then
  pass "appstreamcli validate --pedantic --no-net $(basename "$metainfo")"
else
  fail "no valid AppStream metainfo in share/metainfo"
fi
# Software centres show the same two screenshots as the README, captioned in both languages.
shots=$(sed -n 's:.*<image[^>]*>.*/\([^/<]*\)</image>.*:\1:p' "$metainfo" 2>/dev/null |
  sort | xargs)
readme_shots=$(grep -o 'docs/screenshots/[^)]*' "$source_dir/README.md" | xargs -n1 basename |
  sort | xargs)
captions=$(grep -c '<caption>' "$metainfo" 2>/dev/null)
captions_it=$(grep -c '<caption xml:lang="it">' "$metainfo" 2>/dev/null)
[ -n "$shots" ] && [ "$shots" = "$readme_shots" ] && [ "$captions" = 2 ] && [ "$captions_it" = 2 ] &&
  pass "metainfo lists the README's screenshots ($shots) with English and Italian captions" ||
  fail "metainfo screenshots '$shots' ($captions + $captions_it captions), README has '$readme_shots'"

# The entry's command, its icon at every size, and the metainfo must all name what is installed.
entry() { sed -n "s/^$1=//p" "$desktop" 2>/dev/null | head -n1; }
exec_cmd=$(entry Exec | cut -d' ' -f1)
[ -n "$exec_cmd" ] && [ -x "$usr/games/$exec_cmd" ] && pass "Exec=$exec_cmd is in games/" ||
  fail "Exec=$exec_cmd is not an installed command in games/"
# A user's terminal has the games folder in its search path (root's has not).
if $ci; then
  found=$(runuser -u nobody -- bash -lc 'command -v vortani' 2>&1)
  [ "$found" = /usr/games/vortani ] && pass "a user's login shell finds vortani as $found" ||
    fail "a user's login shell finds '$found' for vortani, not /usr/games/vortani"
fi
icon=$(entry Icon)
bad_icons=""
[ -n "$icon" ] && [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || bad_icons+=" scalable"
for size in 16 32 48 64 128 256; do
  file -b "$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" 2>/dev/null |
    grep -q "^PNG image data, $size x $size," || bad_icons+=" $size"
done
[ -z "$bad_icons" ] && pass "icon $icon in hicolor at every size" ||
  fail "icon '$icon' missing or of the wrong size in hicolor:$bad_icons"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
release=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" | head -n1)
version=$(dpkg-deb -f "$deb" Version)
[ -n "$desktop" ] && [ "$launchable" = "$(basename "$desktop")" ] && [ "$release" = "$version" ] &&
  pass "metainfo names the desktop entry and release $version" ||
  fail "metainfo names '$launchable' and release '$release'; installed are" \
    "'$(basename "$desktop")' and version $version"

# ---- The installed program, started as a user would ---------------------------------------------
export DISPLAY=$display
unset QT_QPA_PLATFORM
# -noreset: the next program started must not meet the server resetting after the last one left.
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
kill -0 $xvfb 2>/dev/null || {
  fail "Xvfb could not start on $DISPLAY"
  finish
}

# Waits for a shown game window other than $1 and prints its id.
shown_window() {
  local w
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name '^Vortani Puzzle$' 2>/dev/null); do
      [ "$w" != "$1" ] && echo "$w" && return 0
    done
    sleep 0.1
  done
  return 1
}
click() { # window, form coordinates
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  sleep 0.3
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
# Starts PROGRAM from an empty folder, clicks Addizione on the start form and then level Basso on
# the exercise form, which deals a puzzle and loads its picture. Leaves the program running as
# $game, its error output in $work/NAME.err.
play() {
  local program=$1 name=$2 start exercise
  mkdir -p "$work/cwd-$name"
  (cd "$work/cwd-$name" && exec "$program" 2>"$work/$name.err") &
  game=$!
  start=$(shown_window "") || return 1
  click "$start" 370 170
  exercise=$(shown_window "$start") || return 1
  click "$exercise" 58 158
  sleep 1
  kill -0 "$game" 2>/dev/null
}
stop() {
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  game=""
}
missing_picture='cannot load the puzzle picture'

# The same program alone in a folder must complain: proof that the clicks reach the picture.
mkdir -p "$work/bare"
cp "$usr/lib/vortani/vortani" "$work/bare/"
if play "$work/bare/vortani" bare && grep -q "$missing_picture" "$work/bare.err"; then
  pass "without its pictures the program says so (the clicks reach a puzzle)"
else
  cat "$work/bare.err" 2>/dev/null
  fail "the program alone in a folder did not reach a puzzle and report its missing picture"
fi
stop

if play "$usr/games/vortani" installed && ! grep -q "$missing_picture" "$work/installed.err"; then
  pass "started through games/vortani from another folder, it shows a puzzle with its picture"
else
  cat "$work/installed.err" 2>/dev/null
  fail "the installed program, started through games/vortani, did not show a puzzle picture"
fi

# Plugins and fonts are loaded at run time, out of dpkg-shlibdeps' sight: the package of every
# one the running program has mapped must be a direct dependency.
if [ -n "$game" ] && [ -r "/proc/$game/maps" ]; then
  loaded=$(grep -oE '/[^ ]*/(qt6/plugins|share/fonts)/[^ ]*' "/proc/$game/maps" | sort -u)
  needed=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/^ *//; s/[ (:].*//' | tr '\n' ' ')"
  unlisted=""
  for f in $loaded; do
    owner=$(dpkg -S "$f" 2>/dev/null | head -n1 | cut -d: -f1)
    [[ $needed == *" $owner "* ]] || unlisted+=" $f(${owner:-no package})"
  done
  if [ -n "$loaded" ] && [ -z "$unlisted" ]; then
    pass "the $(echo "$loaded" | wc -l) plugins and fonts it loaded come from its dependencies"
  else
    fail "loaded at run time from packages not in Depends:${unlisted:- nothing seen}"
  fi
else
  fail "the installed program was not running to list what it loaded"
fi
stop

finish
