#!/usr/bin/env bash
# Installs what is missing, builds the native core, the release and its 64-bit twin, and runs every
# test: unit tests, the checks of the release executable, the fuzzer and the end-to-end tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --workflow --preset linux
cmake --workflow --preset win32
cmake --workflow --preset win64
python3 tests/release/check_release.py build/win32/bin/Launch.exe
bash scripts/fuzz.sh 20
python3 tests/e2e/run.py
