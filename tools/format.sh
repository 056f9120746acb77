#!/bin/sh
# Formats the tree with the committed .clang-format (Debian 12's
# clang-format 14), or with --check only says which files differ and fails.
# The generated built-in data table keeps its generator's layout.
set -e
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' | grep -v '^src/core/properties/BuiltinData\.cpp$')
if [ "$1" = "--check" ]; then
  # shellcheck disable=SC2086
  clang-format --dry-run --Werror $files
  echo "formatting: $(echo "$files" | wc -l) files as .clang-format says"
else
  # shellcheck disable=SC2086
  clang-format -i $files
fi
