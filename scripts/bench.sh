#!/usr/bin/env bash
# Measures what the launcher promises: the release's size, the instructions one hover costs in the
# native core (callgrind), and the start-up to a painted window under Wine against a bare window
# program (with and without comctl32), with resident memory and a breakdown of the launcher's start.
# Prints the figures; it is a measurement, not a test.
# usage: bench.sh [rounds] [runs]   (defaults: 9 rounds, 3 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --workflow --preset linux >/dev/null
cmake --workflow --preset win32 >/dev/null
cmake --workflow --preset win64 >/dev/null
# The twin again with start-up marks, for the breakdown; never the release.
cmake --preset win64 -B build/bench-marks -DVANTREL_STARTUP_MARKS=ON >/dev/null
cmake --build build/bench-marks --target Launch -j2 >/dev/null
echo "release Launch.exe: $(stat -c %s build/win32/bin/Launch.exe) bytes (limit $((320 * 1024)))"

cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native --target hover_bench -j2 >/dev/null
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null build/bench-native/bin/hover_bench "$1" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
base=$(count 0)
many=$(count 1000)
echo "one hover (enter and leave) in the core: $(((many - base) / 1000)) instructions (callgrind, Release)"

python3 scripts/bench.py "${1:-9}" "${2:-3}"
