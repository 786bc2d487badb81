#!/usr/bin/env bash
# Installs what is missing, builds the launcher's 64-bit twin and runs it from a demo disc under
# Wine (in a virtual display when there is none), saving build/demo/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --workflow --preset win64
python3 scripts/demo.py
