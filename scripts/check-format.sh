#!/usr/bin/env bash
# Fails, listing the files, when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.cc' '*.c')
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-format: no C++ files tracked" >&2
  exit 1
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ "${#bad[@]}" -gt 0 ]; then
  printf 'Not clang-format clean (run clang-format -i on them):\n' >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files clean"
