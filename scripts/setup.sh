#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian 12 machine; installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ libgtest-dev libjpeg62-turbo-dev clang libclang-rt-14-dev valgrind
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xdotool x11-apps x11-utils imagemagick fp-utils dpkg-dev python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The MinGW tool names the builds use must resolve to the posix-thread variants.
for arch in i686 x86_64; do
  for tool in gcc g++; do
    if [[ "$(readlink -f "/usr/bin/$arch-w64-mingw32-$tool" 2>/dev/null)" != *posix* ]]; then
      update-alternatives --set "$arch-w64-mingw32-$tool" "/usr/bin/$arch-w64-mingw32-$tool-posix" >/dev/null
    fi
  done
done
