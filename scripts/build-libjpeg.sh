#!/usr/bin/env bash
# Builds a static libjpeg for a MinGW target from Debian's own libjpeg-turbo source package.
# usage: build-libjpeg.sh <i686|x86_64> <install-prefix>
# The result is cached: an existing <prefix>/lib/libjpeg.a is kept.
set -euo pipefail

arch=$1
prefix=$2
# Only the decoder is used: no environment look-up (its sscanf would pull the C runtime's scanf into
# the launcher), and every function in a section of its own so the linker drops what is unused.
cflags="-Os -DNO_GETENV -ffunction-sections -fdata-sections"
stamp="$prefix/.built-with"
[[ -f "$prefix/lib/libjpeg.a" && -f "$prefix/include/jpeglib.h" && "$(cat "$stamp" 2>/dev/null)" == "$cflags" ]] && exit 0

here=$(cd "$(dirname "$0")" && pwd)
cache=$(dirname "$prefix")/libjpeg-src

fetch_source() {
  [[ -f "$cache/CMakeLists.txt" ]] && return 0
  # apt-get source needs deb-src entries: derive them from the machine's own deb entries.
  local list=/etc/apt/sources.list.d/vantrel-deb-src.sources
  if ! apt-get source --print-uris -q libjpeg-turbo >/dev/null 2>&1; then
    : >"$list"
    for f in /etc/apt/sources.list.d/*.sources; do
      [[ "$f" == "$list" ]] && continue
      sed -n '/^Types:.*\bdeb\b/,/^$/p' "$f" | sed 's/^Types:.*/Types: deb-src/' >>"$list"
      echo >>"$list"
    done
    if [[ -f /etc/apt/sources.list ]]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/vantrel-deb-src.list || true
    fi
    apt-get update -q
  fi
  local work
  work=$(mktemp -d)
  (cd "$work" && apt-get source -q --download-only libjpeg-turbo >/dev/null 2>&1 && dpkg-source -q -x ./*.dsc src >/dev/null 2>&1)
  rm -rf "$cache"
  mv "$work/src" "$cache"
  rm -rf "$work"
}

mkdir -p "$(dirname "$prefix")"
fetch_source
build=$(dirname "$prefix")/libjpeg-build-$arch
cmake -S "$cache" -B "$build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=None -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF >/dev/null
cmake --build "$build" --target jpeg-static -j"$(nproc)" >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "$build/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$build/jconfig.h" "$cache/jerror.h" "$cache/jmorecfg.h" "$cache/jpeglib.h" "$prefix/include/"
echo "$cflags" >"$stamp"
