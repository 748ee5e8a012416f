#!/usr/bin/env bash
# Checks that every C++ source the repository tracks is formatted with the project's .clang-format.
# Lists the files that differ and exits 1 when there are any; `scripts/check-format.sh --fix`
# formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format: clang-format not found (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
fix=0
[ "${1:-}" = "--fix" ] && fix=1
bad=0
while IFS= read -r -d '' f; do
  if [ $fix -eq 1 ]; then
    clang-format -i "$f"
  elif ! clang-format "$f" | cmp -s - "$f"; then
    echo "format: $f differs from .clang-format"
    bad=1
  fi
done < <(git ls-files -z '*.cpp' '*.h')
[ $bad -eq 0 ] && echo "format: every tracked C++ file is formatted"
exit $bad
