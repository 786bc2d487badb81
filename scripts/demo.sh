#!/usr/bin/env bash
# Installs what is missing, builds only the launcher's 64-bit twin and the native Linux launcher, and
# runs both from the demo disc's real payload (the NSIS installers; in a virtual display when there
# is none, where the demo clicks Install twice itself: the first installs Vantrel 1.0, the next
# upgrades it to 1.1), saving build/demo/screenshot.png and build/demo/screenshot-linux.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Launch recorder peek bare
cmake --preset linux >/dev/null
cmake --build --preset linux --target launch_linux
[[ -f build/demo-payload/Vantrel/"Vantrel Install.exe" ]] || bash scripts/make_demo_payload.sh build/demo-payload
python3 scripts/demo.py
