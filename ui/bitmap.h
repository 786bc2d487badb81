// Pixel buffers in the layout the system draws directly: top-down rows, each padded to four bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/geometry.h"

namespace ui {

// A 24-bit (blue, green, red bytes) or 8-bit palettised picture.
struct Bitmap {
  Size size;
  int bitsPerPixel = 24;
  std::vector<std::uint8_t> pixels;  // size.height rows of Stride() bytes, top row first
  std::vector<Color> palette;        // 8-bit pictures only

  static int StrideFor(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }
  int Stride() const { return StrideFor(size.width, bitsPerPixel); }
  Color PixelAt(int x, int y) const;

  // An all-black 24-bit bitmap of the given size.
  static Bitmap Rgb(Size size);
};

// Scales a picture to exactly `target` in both directions (no aspect kept), averaging the source
// area each target pixel covers; the result is 24-bit. Works for shrinking and for enlarging.
Bitmap Resample(const Bitmap& source, Size target);

// Parses a Windows BMP file: 8-bit palettised (uncompressed or RLE8) or 24-bit uncompressed, either
// row order. Throws std::runtime_error on anything else, on truncated data, and on RLE8 data that
// would reach outside the picture.
Bitmap ParseBmp(std::span<const std::uint8_t> file);

}  // namespace ui
