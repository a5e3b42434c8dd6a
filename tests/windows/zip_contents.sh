#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The portable zip, unpacked as onto a USB stick: one folder with exactly the program, the
# libraries and plugins it loads, the pictures and the licence; the import check passes on it
# and fails with a DLL missing or one too many; the program starts from that folder alone.
#   zip_contents.sh <zip> <picture count> <objdump> <check-imports.cmake> <state dir>
set -euo pipefail
zip=$1 pictures=$2 objdump=$3 check=$4
. "$(dirname "$0")/wine-private.sh"
[ -f "$zip" ] || fail "$zip is missing: build the target windows_packages first"
start_wine "$5" 85
mkdir "$state/unpacked"
(cd "$state/unpacked" && cmake -E tar xf "$zip")
folder="$state/unpacked/Vortani Puzzle"

expected=(Vortani.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll libstdc++-6.dll
  libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll imageformats/qjpeg.dll LICENSE.txt)
for n in $(seq "$pictures"); do expected+=("pic$n.jpg"); done
want=$(printf './Vortani Puzzle/%s\n' "${expected[@]}" | sort)
have=$(cd "$state/unpacked" && find . -type f | sort)
[ "$want" = "$have" ] || fail "unexpected files: $(diff <(echo "$want") <(echo "$have") | grep '^[<>]')"
grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$folder/LICENSE.txt" || fail "LICENSE.txt lacks the LGPL"
ok "exactly ${#expected[@]} files in one folder 'Vortani Puzzle'"

imports() { cmake -DOBJDUMP="$objdump" -DFOLDER="$1" -P "$check" >"$state/imports.log" 2>&1; }
imports "$folder" || fail "$(cat "$state/imports.log")"
cp -r "$folder" "$state/broken"
mv "$state/broken/libwinpthread-1.dll" "$state/broken/extra.dll"
! imports "$state/broken" && grep -q 'imports libwinpthread-1.dll, which is neither' "$state/imports.log" &&
  grep -q 'extra.dll is shipped, but nothing' "$state/imports.log" || fail "$(cat "$state/imports.log")"
ok "every DLL imported is in the folder or Windows' own; the check sees one missing or extra"

cd "$state" # not the program's folder: its DLLs must come from that folder alone
wine "$folder/Vortani.exe" >"$state/program.log" 2>&1 &
wait_window $! "$state/program.log"
ok "Vortani.exe starts from the unpacked folder alone and shows its window"
echo "$passed passed, 0 failed"
