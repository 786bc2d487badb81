#!/usr/bin/env bash
# Builds the registry fuzz target with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer and
# runs it for a bounded time (seconds, default 20). A crash or a broken invariant fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -Wall -Wextra -Wshadow -Werror -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I. \
  tests/fuzz/registry_fuzz.cpp probes/registry_access.cpp probes/probes.cpp -o "$out/registry_fuzz"
"$out/registry_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" 2>"$out/fuzz.log" \
  || { tail -40 "$out/fuzz.log"; echo "fuzz: 0 passed, 1 failed"; exit 1; }
grep -E '^Done|stat::number_of_executed_units' "$out/fuzz.log" | head -2
echo "fuzz: 1 passed, 0 failed"
