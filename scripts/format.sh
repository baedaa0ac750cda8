#!/usr/bin/env bash
# Formats every C++ file of the tree with the project's .clang-format, or with --check only
# reports the files that are not formatted (and fails). clang-format does not always reach its
# final layout in one pass (comments beside bin-packed initialiser lists), so formatting runs
# until nothing changes.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = "--check" ]; then
  if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "error: the files above are not formatted; run scripts/format.sh" >&2
    exit 1
  fi
  echo "formatting: ${#files[@]} files checked"
  exit 0
fi
for _ in 1 2 3; do
  before=$(cat "${files[@]}" | md5sum)
  clang-format -i "${files[@]}"
  [ "$before" = "$(cat "${files[@]}" | md5sum)" ] && break
done
