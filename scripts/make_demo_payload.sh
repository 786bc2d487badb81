#!/usr/bin/env bash
# Builds the project's demo payload: the folders Vantrel, Docs and Acrobat of a Vantrel disc.
# "Vantrel Install.exe" and "Vantrel Upgrade.EXE" are real NSIS installers (x86-64: NSIS's x86 stubs
# cannot be tested here) that install a small payload and record CurrentVersion 1.0, then 1.1, where
# the launcher reads it; the reader installer is a stand-in that only shows a message; the documents
# are a real PDF and a real compiled help file. Rebuilding gives the same bytes.
# usage: make_demo_payload.sh OUT
set -euo pipefail
out=$(realpath -m "$1")
cd "$(dirname "$0")/.."
rm -rf "$out"
mkdir -p "$out/Vantrel" "$out/Docs" "$out/Acrobat"
nsis() {  # script output [defines...]
  local script=$1 output=$2
  shift 2
  makensis -V1 -DOUTFILE="$output" "$@" "$script" >/dev/null
}
nsis disc/vantrel.nsi "$out/Vantrel/Vantrel Install.exe" -DVERSION=1.0 -DPAYLOAD="$PWD/disc/payload-readme.txt"
nsis disc/vantrel.nsi "$out/Vantrel/Vantrel Upgrade.EXE" -DVERSION=1.1 -DPAYLOAD="$PWD/disc/payload-readme.txt"
nsis disc/reader.nsi "$out/Acrobat/AdbeRdr90_en_US.exe"
python3 scripts/demo_documents.py "$out"
