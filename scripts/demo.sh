#!/usr/bin/env bash
# Installs what is missing, builds the launcher's 64-bit twin and the native Linux launcher, and runs
# both from a demo disc (in a virtual display when there is none), saving build/demo/screenshot.png
# and build/demo/screenshot-linux.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --workflow --preset win64
cmake --workflow --preset linux
python3 scripts/demo.py
