// Reading pictures back in tests: one pixel's colour, and a whole picture resampled at once.
#pragma once

#include "ui/bitmap.h"

namespace testing_pixels {

inline ui::Color PixelAt(const ui::Bitmap& b, int x, int y) {
  const std::uint8_t* row = b.pixels.data() + static_cast<std::size_t>(y) * b.Stride();
  if (b.bitsPerPixel == 8) return row[x] < b.palette.size() ? b.palette[row[x]] : ui::kBlack;
  const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
  return ui::Color::Rgb(p[2], p[1], p[0]);
}

inline ui::Bitmap Resample(const ui::Bitmap& source, ui::Size target) {
  ui::Resampler resampler(source, target);
  return resampler.Rows(0, resampler.Target().height);
}

}  // namespace testing_pixels
