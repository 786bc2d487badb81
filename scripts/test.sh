#!/usr/bin/env bash
# Installs what is missing, builds the native core and Linux launcher, the release and its 64-bit
# twin, and runs every test: unit tests (under ASan and UBSan), the checks of both launcher
# executables, the fuzzers and the end-to-end tests (Windows under Wine, Linux under the same virtual
# display; E2E_ORDER=shuffle:SEED shuffles their order), and last the release lane, which clicks the
# shipped 32-bit Launch.exe itself through (scripts/release32.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --workflow --preset unit
cmake --workflow --preset linux
cmake --workflow --preset win32
cmake --workflow --preset win64
python3 tests/release/check_release.py build/win32/bin/Launch.exe
python3 tests/release/check_linux.py build/linux/bin/Launch.x86_64
bash scripts/fuzz.sh 20
python3 tests/e2e/run.py
bash scripts/release32.sh
