#!/usr/bin/env bash
# Formats every C++ file of the project with the root .clang-format; with --check, changes nothing
# and fails, naming the files, when one differs from it (CI runs it so).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
