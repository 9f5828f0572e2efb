#!/usr/bin/env bash
# Fails, listing the files, when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.cc' '*.c')
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-format: no C++ files tracked" >&2
  exit 1
fi
# Braces around every single statement need a formatter newer than Debian 12's default (14).
formatter=clang-format-16
bad=()
for f in "${files[@]}"; do
  "$formatter" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ "${#bad[@]}" -gt 0 ]; then
  printf 'Not %s clean (run %s -i on them):\n' "$formatter" "$formatter" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "$formatter: ${#files[@]} files clean"
