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

  // An all-black 24-bit bitmap of the given size.
  static Bitmap Rgb(Size size);
};

// Scales a picture to exactly `target` in both directions (no aspect kept), averaging the source
// area each target pixel covers (blending the nearest two when enlarging), in fixed point with
// weights computed once; the result is 24-bit. It makes the target a band of rows at a time, so a
// picture can be drawn scaled without a scaled copy of it ever being kept.
class Resampler {
 public:
  // `source` must outlive the resampler. An empty source or target gives an empty target.
  Resampler(const Bitmap& source, Size target);
  Size Target() const { return target_; }
  // Target rows [first, first + count), clamped to the target, as a bitmap of the target's width.
  Bitmap Rows(int first, int count);

 private:
  // For each target position, the first source position it covers and the weights of the source
  // positions from there on.
  struct Coverage {
    std::vector<int> first;
    std::vector<int> begin;  // into weights; begin[t + 1] ends target t's weights
    std::vector<std::uint16_t> weights;
  };
  static Coverage Cover(int sourceLength, int targetLength);
  // Source row y, looked up through the palette if there is one and scaled across into across_;
  // adjacent target rows share at most their boundary row, so the last one made is kept.
  void MakeRow(int y);

  const Bitmap& source_;
  Size target_;
  Coverage columns_;
  Coverage rows_;
  std::vector<std::uint8_t> bgr_;
  std::vector<std::uint32_t> across_;  // values times one in fixed point
  std::vector<std::uint32_t> sum_;
  int madeRow_ = -1;
};

// Parses a Windows BMP file: 8-bit palettised (uncompressed or RLE8) or 24-bit uncompressed, either
// row order. Throws std::runtime_error on anything else, on truncated data, and on RLE8 data that
// would reach outside the picture.
Bitmap ParseBmp(std::span<const std::uint8_t> file);

}  // namespace ui
