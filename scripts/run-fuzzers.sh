#!/usr/bin/env bash
# Builds the fuzz preset (clang + libFuzzer) and runs each fuzzer for a bounded time.
# FUZZ_SECONDS overrides the time per fuzzer (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
fuzzers=(script_parser_fuzzer dispatcher_fuzzer)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${fuzzers[@]}" -j "$(nproc)"
for fuzzer in "${fuzzers[@]}"; do
  corpus=build/fuzz/corpus/$fuzzer
  mkdir -p "$corpus"
  echo "-- $fuzzer for ${seconds}s"
  build/fuzz/tests/fuzz/$fuzzer -max_total_time="$seconds" -max_len=512 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/$fuzzer-" "$corpus" 2>&1 | tail -n 4
done
