#!/usr/bin/env bash
# Builds a static libjpeg for a MinGW target from the libjpeg-turbo source that scripts/setup.sh
# fetched into build/deps. Configuring never installs or fetches anything itself.
# usage: build-libjpeg.sh <i686|x86_64> <install-prefix>
# The result is cached: an existing <prefix>/lib/libjpeg.a built with the same flags is kept.
set -euo pipefail

arch=$1
prefix=$2
# Only the decoder is used: no environment look-up (its sscanf would pull the C runtime's scanf into
# the launcher), and every function in a section of its own so the linker drops what is unused. On
# i686 the library's errors leave by longjmp, never by unwinding, so it needs no unwind tables, and
# without them the linker can drop its unused functions (the linker keeps every .eh_frame); x86-64
# keeps its tables, which its exception handling relies on.
cflags="-Os -DNO_GETENV -ffunction-sections -fdata-sections"
[[ "$arch" == i686 ]] && cflags+=" -fno-asynchronous-unwind-tables -fno-unwind-tables"
# Decoder features the launcher never asks for: the fast and float IDCTs (it uses the accurate
# integer one), scaled output, merged upsampling (fancy upsampling is the default), colour
# quantisation and marker saving. The pixels decoded stay the same.
unused_features=(DCT_IFAST_SUPPORTED DCT_FLOAT_SUPPORTED IDCT_SCALING_SUPPORTED UPSAMPLE_MERGING_SUPPORTED
                 QUANT_1PASS_SUPPORTED QUANT_2PASS_SUPPORTED SAVE_MARKERS_SUPPORTED)
stamp="$prefix/.built-with"
recipe="$cflags; without ${unused_features[*]}; win32-thread compilers"
[[ -f "$prefix/lib/libjpeg.a" && -f "$prefix/include/jpeglib.h" && "$(cat "$stamp" 2>/dev/null)" == "$recipe" ]] && exit 0

here=$(cd "$(dirname "$0")" && pwd)
source_dir="$here/../build/deps/libjpeg-turbo"
if [[ ! -f "$source_dir/CMakeLists.txt" ]]; then
  echo "build-libjpeg: libjpeg-turbo's source is missing from build/deps: run scripts/setup.sh first" >&2
  exit 1
fi
for tool in "$arch-w64-mingw32-gcc-win32" "$arch-w64-mingw32-g++-win32"; do
  if ! command -v "$tool" >/dev/null; then
    echo "build-libjpeg: $tool is missing: run scripts/setup.sh first" >&2
    exit 1
  fi
done

# A copy of the source, configured without the unused features.
trimmed=$(dirname "$prefix")/libjpeg-src-$arch
mkdir -p "$(dirname "$prefix")"
rm -rf "$trimmed"
cp -r "$source_dir" "$trimmed"
for feature in "${unused_features[@]}"; do
  grep -q "^#define $feature\b" "$trimmed/jmorecfg.h" || { echo "build-libjpeg: no $feature in jmorecfg.h" >&2; exit 1; }
  sed -i "s/^#define $feature\b/#undef $feature/" "$trimmed/jmorecfg.h"
done

build=$(dirname "$prefix")/libjpeg-build-$arch
rm -rf "$build"
cmake -S "$trimmed" -B "$build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=None -DCMAKE_C_FLAGS="$cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF >/dev/null
cmake --build "$build" --target jpeg-static -j"$(nproc)" >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "$build/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$build/jconfig.h" "$trimmed/jerror.h" "$trimmed/jmorecfg.h" "$trimmed/jpeglib.h" "$prefix/include/"
echo "$recipe" >"$stamp"
