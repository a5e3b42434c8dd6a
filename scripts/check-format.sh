#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file under src/, tests/, bench/ or fuzz/ is not laid out as .clang-format
# asks, naming each place. Usage: check-format.sh [SOURCE_DIR [CLANG_FORMAT]]
set -euo pipefail
here=${1:-$(cd "$(dirname "$0")/.." && pwd)}
format=${2:-clang-format}
cd "$here"
if ! command -v "$format" >/dev/null; then
  echo "check-format: $format not found (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
"$format" --dry-run --Werror "${files[@]}"
echo "check-format: ${#files[@]} files laid out as .clang-format asks"
