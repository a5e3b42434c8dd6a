#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes away what package.sh left for the other package tests: dpkg removes the package when
# package.sh installed it, and must leave none of its folders behind; an unpacked tree is deleted.
# Usage: package-remove.sh BUILD_DIR
set -uo pipefail
marker=$1/package-under-test
[ -f "$marker" ] || {
  echo "nothing to remove: $marker is missing"
  exit 0
}
root=$(sed -n 's/^root=//p' "$marker")
installed_here=$(sed -n 's/^installed_here=//p' "$marker")
rm -f "$marker"
if [ -n "$root" ]; then
  rm -rf "$root"
  echo "PASS: removed the unpacked tree $root"
  exit 0
fi
[ "$installed_here" = true ] || {
  echo "the package was installed before the tests: left as it was"
  exit 0
}
if ! dpkg -r vortani; then
  echo "FAIL: dpkg -r vortani"
  exit 1
fi
left=""
for dir in /usr/lib/vortani /usr/share/games/vortani /usr/share/doc/vortani /usr/games/vortani; do
  [ -e "$dir" ] && left+=" $dir"
done
[ -z "$left" ] && echo "PASS: dpkg -r removes the package and its folders" ||
  echo "FAIL: dpkg -r left behind:$left"
[ -z "$left" ]
