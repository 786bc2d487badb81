#!/usr/bin/env bash
# Makes the Vantrel disc: lays out its tree and writes an ISO 9660 image with Joliet and Rock Ridge.
# At the root: Launch.exe (the 32-bit release) with autorun.inf, Launch.x86_64 with autorun.sh; then
# the payload's folders Vantrel, Docs and Acrobat. The same inputs give the same bytes.
#
# usage: make_disc.sh [--twin] [PAYLOAD] [OUT]
#   PAYLOAD  a folder holding Vantrel/, Docs/ and Acrobat/ with the five files the launcher names
#            (default: the project's demo payload, build/demo-payload, built when missing)
#   OUT      the image to write (default: build/disc/Vantrel.iso)
#   --twin   for tests only: the x86-64 twin in place of the release, which cannot run here
# Signing: with VANTREL_SIGN_PKCS12 naming a PKCS#12 certificate, Launch.exe is signed (Authenticode,
# SHA-256) before it goes on the disc; its password is read from the file VANTREL_SIGN_PASSWORD_FILE
# names, or from VANTREL_SIGN_PASSWORD; never from the command line. Without a certificate nothing is
# signed, and the command says so. SOURCE_DATE_EPOCH sets the image's times (default: the last
# commit's time).
set -euo pipefail

twin=false
if [[ "${1:-}" == "--twin" ]]; then
  twin=true
  shift
fi
payload=${1:+$(realpath -m "$1")}
out=${2:+$(realpath -m "$2")}
cd "$(dirname "$0")/.."
out=${out:-$PWD/build/disc/Vantrel.iso}

required=("Vantrel/Vantrel Install.exe" "Vantrel/Vantrel Upgrade.EXE" "Docs/Intro.pdf" "Docs/Vantrel.chm"
          "Acrobat/AdbeRdr90_en_US.exe")

if [[ -z "$payload" ]]; then
  payload=build/demo-payload
  [[ -d "$payload" ]] || bash scripts/make_demo_payload.sh "$payload"
fi

# Refuse an incomplete payload, or names the disc cannot carry as written, before writing anything.
missing=()
for f in "${required[@]}"; do
  [[ -f "$payload/$f" ]] || missing+=("$f")  # compared exactly: "Vantrel Upgrade.EXE" is found only as written
done
if ((${#missing[@]})); then
  printf 'make_disc: the payload %s lacks, as written:\n' "$payload" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
bad=$(cd "$payload" && find Vantrel Docs Acrobat -mindepth 0 | python3 -c '
import sys
seen = {}
for path in sys.stdin.read().splitlines():
    name = path.rsplit("/", 1)[-1]
    if len(name) > 103 or any(c in name for c in "*:;?\\\"<>|") or any(ord(c) < 32 for c in name):
        print(f"  {path}: ISO 9660 with Joliet cannot carry this name as written")
    elif any(ord(c) > 0xFFFF for c in name):  # Joliet stores UCS-2
        print(f"  {path}: Joliet cannot carry a character beyond U+FFFF")
    key = path.lower()
    if key in seen:
        print(f"  {path}: differs from {seen[key]} only in case")
    seen[key] = path
')
if [[ -n "$bad" ]]; then
  printf 'make_disc: the payload %s has names the disc cannot carry:\n%s\n' "$payload" "$bad" >&2
  exit 1
fi

bash scripts/setup.sh >/dev/null
if $twin; then
  cmake --workflow --preset win64 >/dev/null
  exe=build/win64/bin/Launch.exe
else
  cmake --workflow --preset win32 >/dev/null
  exe=build/win32/bin/Launch.exe
fi
cmake --workflow --preset linux >/dev/null

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1733616000)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
mkdir -p "$stage"

if [[ -n "${VANTREL_SIGN_PKCS12:-}" ]]; then
  pass=$work/pass
  if [[ -n "${VANTREL_SIGN_PASSWORD_FILE:-}" ]]; then
    cp "$VANTREL_SIGN_PASSWORD_FILE" "$pass"
  else
    printf '%s' "${VANTREL_SIGN_PASSWORD:-}" >"$pass"
  fi
  chmod 600 "$pass"
  osslsigncode sign -pkcs12 "$VANTREL_SIGN_PKCS12" -readpass "$pass" -h sha256 -time "$epoch" \
    -in "$exe" -out "$stage/Launch.exe" >/dev/null
  echo "make_disc: Launch.exe signed with $VANTREL_SIGN_PKCS12"
else
  cp "$exe" "$stage/Launch.exe"
  echo "make_disc: no certificate (VANTREL_SIGN_PKCS12): Launch.exe is not signed"
fi
cp build/linux/bin/Launch.x86_64 "$stage/Launch.x86_64"
printf '[autorun]\r\nopen=Launch.exe\r\nicon=Launch.exe,0\r\nlabel=Vantrel Setup\r\n' >"$stage/autorun.inf"
cat >"$stage/autorun.sh" <<'SH'
#!/bin/sh
# Run by Linux desktops that offer to start a disc's software: the launcher, from the disc's root,
# where its document links are resolved.
cd "$(dirname "$0")" && exec ./Launch.x86_64
SH
for folder in Vantrel Docs Acrobat; do cp -r "$payload/$folder" "$stage/$folder"; done
# Every file readable and not executable, but the two programs Linux runs.
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
chmod 0755 "$stage/Launch.x86_64" "$stage/autorun.sh"

mkdir -p "$(dirname "$out")"
rm -f "$out.tmp"
SOURCE_DATE_EPOCH=$epoch xorriso -as mkisofs -quiet -input-charset UTF-8 -iso-level 3 -r -J -joliet-long -V VANTREL_SETUP \
  --set_all_file_dates "=$epoch" -o "$out.tmp" "$stage"
mv "$out.tmp" "$out"
echo "make_disc: wrote $out ($(stat -c %s "$out") bytes)"
