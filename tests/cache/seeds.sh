#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prebuilt Qt caches (seeds) as a Qt recipe (scripts/build-qt-*.sh) takes them, in a throw-away cache and
# seed folder, with --seed-only so that Qt is never built. Each row: the seed's tree, its line in
# SHA256SUMS, and whether it must be taken. Taking one also sweeps another recipe's finished
# build, but not one whose lock a run holds, nor another family's (Qt for another platform).
#   seeds.sh <recipe script>
set -euo pipefail
recipe=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export VORTANI_CACHE=$tmp/cache VORTANI_CACHE_SEED=$tmp/seed
prefix=$("$recipe" --prefix)
name=$(basename "$prefix")
family=${name%-*}
finished=$VORTANI_CACHE/$family-0000000000000001
building=$VORTANI_CACHE/$family-work-0000000000000002
stranger=$VORTANI_CACHE/qt6-elsewhere-0000000000000003
failures=0
check() { # what, then a command that must succeed
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1" && failures=$((failures + 1)); fi
}
leftovers() { find "$VORTANI_CACHE" -maxdepth 1 -name "$name*" ! -name '*.lock'; }

# tree: complete (the .complete mark first), bare (no mark), cut (complete, then cut off in the
# middle of a large file); sums: right, wrong, none.
make_seed() {
  rm -rf "$tmp/tree" "$VORTANI_CACHE_SEED" "$VORTANI_CACHE"
  mkdir -p "$tmp/tree/$name/bin" "$VORTANI_CACHE_SEED" "$finished" "$building" "$stranger"
  touch "$finished/.complete" "$stranger/.complete"
  echo fake >"$tmp/tree/$name/bin/Qt6Core.dll"
  local members=("$name/bin") archive=$VORTANI_CACHE_SEED/$name.tar.xz
  if [ "$1" != bare ]; then
    touch "$tmp/tree/$name/.complete"
    members=("$name/.complete" "${members[@]}")
  fi
  [ "$1" != cut ] || head -c 2000000 /dev/urandom >"$tmp/tree/$name/bin/large.dll"
  tar -cJf "$archive" -C "$tmp/tree" "${members[@]}"
  [ "$1" != cut ] || truncate -s $(($(stat -c %s "$archive") / 2)) "$archive"
  case $2 in
    right) (cd "$VORTANI_CACHE_SEED" && sha256sum "$name.tar.xz" >SHA256SUMS) ;;
    wrong) printf '%064d  %s\n' 0 "$name.tar.xz" >"$VORTANI_CACHE_SEED/SHA256SUMS" ;;
  esac
}

while read -r tree sums outcome; do
  what="$tree seed, $sums checksum"
  make_seed "$tree" "$sums"
  exec 7>"${building/work-/}.lock"
  flock 7
  status=0
  "$recipe" --seed-only >"$tmp/out" 2>"$tmp/err" || status=$?
  exec 7>&-
  if [ "$outcome" = taken ]; then
    check "$what: taken" [ $status -eq 0 ]
    check "$what: its prefix printed" [ "$(tail -n1 "$tmp/out")" = "$prefix" ]
    check "$what: complete" [ -f "$prefix/.complete" -a -f "$prefix/bin/Qt6Core.dll" ]
    check "$what: another recipe's finished build swept" [ ! -e "$finished" ]
    check "$what: a locked build left alone" [ -d "$building" ]
    check "$what: another family's build left alone" [ -f "$stranger/.complete" ]
  else
    check "$what: refused" grep -q Refused "$tmp/err"
    check "$what: a failure with --seed-only" [ $status -ne 0 ]
    check "$what: nothing unpacked" [ -z "$(leftovers)" ]
  fi
done <<'ROWS'
complete right taken
complete none  taken
complete wrong refused
bare     right refused
cut      none  refused
ROWS
[ "$failures" -eq 0 ] || { cat "$tmp/err" >&2; exit 1; }
