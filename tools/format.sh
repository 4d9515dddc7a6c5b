#!/usr/bin/env bash
# Formats the tree's C++ files with the clang-format that .clang-format is
# written for; --check only reports what it would change (as .ci/run does).
set -euo pipefail
cd "$(dirname "$0")/.."

format=clang-format-14
command -v "$format" > /dev/null || { echo "needs $format (Debian package clang-format-14)" >&2; exit 1; }

mode=(-i)
if [ "${1:-}" = "--check" ]; then mode=(--dry-run -Werror); fi

# Tracked files and new ones not yet added; never the build folders.
git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' |
  while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done |
  xargs -0 -r "$format" "${mode[@]}"
