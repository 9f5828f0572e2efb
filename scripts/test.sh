#!/usr/bin/env bash
# Every test: the formatting check, the Windows cross builds (and their tests under Wine),
# fuzzing, a plain build without a preset, the sanitizer run, then the native run, whose ctest
# summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

stage() { printf '\n==== %s ====\n' "$*"; }

stage "Formatting"
scripts/check-format.sh

for preset in mingw32 mingw64; do
  stage "Cross build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

if [ -x scripts/run-fuzzers.sh ]; then
  stage "Fuzzing"
  scripts/run-fuzzers.sh
fi

# The way a packager builds: no preset, the compiler's default optimisation, warnings not
# fatal. It must build as it is.
stage "Plain build without a preset"
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/plain -j "$jobs"

stage "Sanitizer build and tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

stage "Native build and tests"
cmake --preset debug -DTRAMOX_WINE_TESTS=ON >/dev/null
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"
