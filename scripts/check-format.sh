#!/usr/bin/env bash
# Checks (or with --fix applies) .clang-format on every C++ file of the project.
set -eu
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
else
  mapfile -t files < <(find src tests bench -name '*.cpp' -o -name '*.h')
fi
[ ${#files[@]} -eq 0 ] && exit 0
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}" || { echo "format: run 'make format'" >&2; exit 1; }
fi
