// Pixel buffers, the area-averaging resampler and the BMP reader.
#include "ui/bitmap.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ui {

Color Bitmap::PixelAt(int x, int y) const {
  const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * Stride();
  if (bitsPerPixel == 8) {
    const std::uint8_t index = row[x];
    return index < palette.size() ? palette[index] : kBlack;
  }
  const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
  return Color::Rgb(p[2], p[1], p[0]);
}

Bitmap Bitmap::Rgb(Size s) {
  Bitmap b;
  b.size = s;
  b.bitsPerPixel = 24;
  b.pixels.assign(static_cast<std::size_t>(b.Stride()) * std::max(0, s.height), 0);
  return b;
}

namespace {

// For each target position, the source positions it covers and their weights (summing to 1).
struct Span {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Span> Coverage(int sourceLength, int targetLength) {
  std::vector<Span> spans(static_cast<std::size_t>(targetLength));
  const double step = static_cast<double>(sourceLength) / targetLength;
  for (int t = 0; t < targetLength; ++t) {
    double begin = t * step;
    double end = begin + step;
    if (step < 1.0) {
      // Enlarging: blend the two nearest source pixels around the target pixel's centre.
      const double centre = std::clamp((t + 0.5) * step - 0.5, 0.0, sourceLength - 1.0);
      const int lo = static_cast<int>(std::floor(centre));
      const double frac = centre - lo;
      Span& s = spans[static_cast<std::size_t>(t)];
      s.first = lo;
      s.weights = {1.0 - frac};
      if (lo + 1 < sourceLength) s.weights.push_back(frac);
      continue;
    }
    Span& s = spans[static_cast<std::size_t>(t)];
    s.first = static_cast<int>(std::floor(begin));
    for (int i = s.first; i < sourceLength && i < end; ++i) {
      const double overlap = std::min<double>(i + 1, end) - std::max<double>(i, begin);
      s.weights.push_back(overlap / step);
    }
  }
  return spans;
}

}  // namespace

Bitmap Resample(const Bitmap& source, Size target) {
  if (target.width <= 0 || target.height <= 0) return Bitmap::Rgb({0, 0});
  Bitmap out = Bitmap::Rgb(target);
  if (source.size.width <= 0 || source.size.height <= 0) return out;

  const std::vector<Span> columns = Coverage(source.size.width, target.width);
  const std::vector<Span> rows = Coverage(source.size.height, target.height);

  // Horizontal pass into a floating-point intermediate of source height, then vertical.
  const int w = target.width;
  std::vector<double> mid(static_cast<std::size_t>(w) * source.size.height * 3);
  for (int y = 0; y < source.size.height; ++y) {
    for (int x = 0; x < w; ++x) {
      const Span& c = columns[static_cast<std::size_t>(x)];
      double r = 0, g = 0, b = 0;
      for (std::size_t k = 0; k < c.weights.size(); ++k) {
        const Color px = source.PixelAt(c.first + static_cast<int>(k), y);
        r += px.R() * c.weights[k];
        g += px.G() * c.weights[k];
        b += px.B() * c.weights[k];
      }
      double* m = &mid[(static_cast<std::size_t>(y) * w + x) * 3];
      m[0] = r;
      m[1] = g;
      m[2] = b;
    }
  }
  for (int y = 0; y < target.height; ++y) {
    const Span& rs = rows[static_cast<std::size_t>(y)];
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * out.Stride();
    for (int x = 0; x < w; ++x) {
      double rgb[3] = {0, 0, 0};
      for (std::size_t k = 0; k < rs.weights.size(); ++k) {
        const double* m = &mid[((static_cast<std::size_t>(rs.first) + k) * w + x) * 3];
        for (int i = 0; i < 3; ++i) rgb[i] += m[i] * rs.weights[k];
      }
      auto to8 = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
      dst[x * 3 + 0] = to8(rgb[2]);
      dst[x * 3 + 1] = to8(rgb[1]);
      dst[x * 3 + 2] = to8(rgb[0]);
    }
  }
  return out;
}

namespace {

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 4 > d.size()) throw std::runtime_error("Bitmap image is not valid");
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 2 > d.size()) throw std::runtime_error("Bitmap image is not valid");
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

}  // namespace

Bitmap ParseBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') throw std::runtime_error("Bitmap image is not valid");
  const std::uint32_t dataOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  const auto width = static_cast<std::int32_t>(U32(file, 18));
  const auto rawHeight = static_cast<std::int32_t>(U32(file, 22));
  const std::uint16_t bpp = U16(file, 28);
  const std::uint32_t compression = U32(file, 30);
  std::uint32_t colours = U32(file, 46);
  if (headerSize < 40 || width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 ||
      rawHeight > 16384 || (bpp != 8 && bpp != 24) || compression != 0)
    throw std::runtime_error("Bitmap image is not valid");

  Bitmap b;
  b.size = {width, rawHeight < 0 ? -rawHeight : rawHeight};
  b.bitsPerPixel = bpp;
  if (bpp == 8) {
    if (colours == 0 || colours > 256) colours = 256;
    const std::size_t paletteAt = 14 + headerSize;
    if (paletteAt + colours * 4 > file.size()) throw std::runtime_error("Bitmap image is not valid");
    for (std::uint32_t i = 0; i < colours; ++i) {
      const std::uint8_t* q = &file[paletteAt + i * 4];
      b.palette.push_back(Color::Rgb(q[2], q[1], q[0]));
    }
  }
  const auto stride = static_cast<std::size_t>(b.Stride());
  const std::size_t rows = static_cast<std::size_t>(b.size.height);
  if (dataOffset > file.size() || file.size() - dataOffset < stride * rows)
    throw std::runtime_error("Bitmap image is not valid");
  b.pixels.resize(stride * rows);
  for (std::size_t y = 0; y < rows; ++y) {
    const std::size_t from = rawHeight > 0 ? rows - 1 - y : y;  // positive height: bottom row first
    std::copy_n(&file[dataOffset + from * stride], stride, &b.pixels[y * stride]);
  }
  return b;
}

}  // namespace ui
