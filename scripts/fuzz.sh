#!/usr/bin/env bash
# Builds the fuzz targets (the registry reads, the BMP reader, the Wine registry file reader) with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer and runs each for a bounded time
# (seconds, default 20 for the registry reads and half of it for each reader). A crash or a broken
# invariant fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=build/fuzz
flags=(-std=c++20 -g -O1 -Wall -Wextra -Wshadow -Werror -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I.)
passed=0
run() {  # name seconds sources...
  local name=$1 time=$2
  shift 2
  mkdir -p "$out/$name-corpus"
  clang++ "${flags[@]}" "$@" -o "$out/$name"
  if ! "$out/$name" -max_total_time="$time" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/$name-" \
      "$out/$name-corpus" 2>"$out/$name.log"; then
    tail -40 "$out/$name.log"
    echo "fuzz: $passed passed, 1 failed"
    exit 1
  fi
  echo "$name: $(grep -E 'stat::number_of_executed_units' "$out/$name.log" | head -1)"
  passed=$((passed + 1))
}
run registry_fuzz "$seconds" tests/fuzz/registry_fuzz.cpp probes/registry_access.cpp probes/probes.cpp
mkdir -p "$out/bmp_fuzz-corpus" && cp assets/banner.bmp "$out/bmp_fuzz-corpus/banner.bmp"
run bmp_fuzz "$(((seconds + 1) / 2))" tests/fuzz/bmp_fuzz.cpp ui/bitmap.cpp
run wine_registry_fuzz "$(((seconds + 1) / 2))" tests/fuzz/wine_registry_fuzz.cpp platform/wine/registry_file.cpp
echo "fuzz: $passed passed, 0 failed"
