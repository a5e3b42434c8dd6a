#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The MSI under Wine, silent, as an administrator deploys it: it installs the zip's folder under
# Program Files, a Start-menu shortcut and an entry in installed programs; the program starts;
# removal leaves nothing. Installed twice and then upgraded, it leaves one entry, of the later
# version, which the earlier cannot replace.
#   msi_install.sh <msi> <wxs> <staged folder> <publisher> <state dir>
set -euo pipefail
msi=$1 wxs=$2 stage=$3 publisher=$4
. "$(dirname "$0")/wine-private.sh"
[ -f "$msi" ] || fail "$msi is missing: build the target windows_packages first"
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v n="$2" '$1 == n { print $2 }'; }
product=$(property "$msi" ProductCode) version=$(property "$msi" ProductVersion)
start_wine "$5" 83
drive=$WINEPREFIX/drive_c
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

runs=0
msiexec() { # Wine hands on the low byte of the exit status only (1603 shows as 67)
  runs=$((runs + 1))
  wine msiexec "$1" "$(winepath -w "$2")" /qn /l*v "$(winepath -w "$state/msiexec-$runs.log")" \
    >/dev/null 2>&1
}
value() { { wine reg query "$uninstall\\$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
  sed -n "s/^ *$2 *REG_SZ *//p"; }
entries() { { wine reg query "$uninstall" /s 2>/dev/null || true; } | tr -d '\r' |
  grep -c 'DisplayName *REG_SZ *Vortani Puzzle$' || true; }
# Windows puts a per-machine shortcut in ProgramData's Start menu; Wine's msi puts it in the user's.
shortcuts() { find "$drive/ProgramData" "$drive/users" -path '*Start Menu/Programs/*' \
  -iname '*vortani*' || true; }

installed() { # <product code> <version>
  diff -r "$stage" "$drive/Program Files/Vortani Puzzle" >/dev/null || fail "$2: not the zip's folder"
  local link
  link=$(shortcuts)
  [ "$(basename "$link")" = "Vortani Puzzle.lnk" ] &&
    strings -a "$link" | grep -F 'C:\Program Files\Vortani Puzzle\Vortani.exe' >/dev/null ||
    fail "$2: no single Start-menu shortcut 'Vortani Puzzle' to the program: $link"
  local entry="$(value "$1" DisplayVersion) by $(value "$1" Publisher), $(entries) time(s)"
  [ "$entry" = "$2 by $publisher, 1 time(s)" ] || fail "$2: installed programs lists $entry"
  ok "$2: the zip's folder in Program Files, its shortcut, one entry in installed programs"
}
removed() { # <what> <product codes as a regex>
  [ ! -e "$drive/Program Files/Vortani Puzzle" ] && [ -z "$(shortcuts)" ] && [ "$(entries)" = 0 ] ||
    fail "$1: left in Program Files, the Start menu or installed programs"
  wineserver -w # the registry reaches its files as the server ends
  ! grep -iE "Vortani Puzzle|$2" "$WINEPREFIX"/*.reg || fail "$1: left in the registry"
  ok "$1 leaves no file, shortcut or registry entry"
}

msiexec /i "$msi" || fail "msiexec /i exited with $?"
installed "$product" "$version"
(cd / && exec wine 'C:\Program Files\Vortani Puzzle\Vortani.exe' >"$state/program.log" 2>&1) &
wait_window $! "$state/program.log"
ok "the installed program shows its window"
wineserver -k && wineserver -w # the next program must not meet the server ending
msiexec /x "$msi" || fail "msiexec /x exited with $?"
removed "msiexec /x" "${product//[\{\}]/}"

IFS=. read -r major minor _ <<<"$version"
later=$major.$((minor + 1)).0
wixl -a x64 -D Version="$later" -o "$state/later.msi" "$wxs"
later_product=$(property "$state/later.msi" ProductCode)
msiexec /i "$msi" && msiexec /i "$msi" || fail "installing twice: msiexec exited with $?"
msiexec /i "$state/later.msi" || fail "upgrading to $later: msiexec exited with $?"
installed "$later_product" "$later"
! msiexec /i "$msi" && grep -q '^Property(S): WIX_DOWNGRADE_DETECTED = {' "$state/msiexec-$runs.log" ||
  fail "$version did not refuse to replace $later"
msiexec /x "$state/later.msi" || fail "msiexec /x of $later exited with $?"
removed "removal after the upgrade" "${product//[\{\}]/}|${later_product//[\{\}]/}"
echo "$passed passed, 0 failed"
