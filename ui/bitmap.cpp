// Pixel buffers, the area-averaging resampler and the BMP reader.
#include "ui/bitmap.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ui {

Bitmap Bitmap::Rgb(Size s) {
  Bitmap b;
  b.size = s;
  b.bitsPerPixel = 24;
  b.pixels.assign(static_cast<std::size_t>(b.Stride()) * std::max(0, s.height), 0);
  return b;
}

namespace {

// Weights in fixed point: each target pixel's weights add up to exactly kOne.
constexpr int kWeightBits = 12;
constexpr std::uint32_t kOne = 1u << kWeightBits;

}  // namespace

Resampler::Coverage Resampler::Cover(int sourceLength, int targetLength) {
  Coverage c;
  c.first.resize(static_cast<std::size_t>(targetLength));
  c.begin.resize(static_cast<std::size_t>(targetLength) + 1);
  const double step = static_cast<double>(sourceLength) / targetLength;
  std::vector<double> exact;
  for (int t = 0; t < targetLength; ++t) {
    exact.clear();
    int first = 0;
    if (step < 1.0) {
      // Enlarging: blend the two nearest source pixels around the target pixel's centre.
      const double centre = std::clamp((t + 0.5) * step - 0.5, 0.0, sourceLength - 1.0);
      first = static_cast<int>(centre);
      const double frac = centre - first;
      exact.push_back(1.0 - frac);
      if (first + 1 < sourceLength) exact.push_back(frac);
    } else {
      // Shrinking: each source pixel weighs as much of it as the target pixel covers.
      const double begin = t * step;
      const double end = begin + step;
      first = static_cast<int>(begin);
      for (int i = first; i < sourceLength && i < end; ++i)
        exact.push_back((std::min<double>(i + 1, end) - std::max<double>(i, begin)) / step);
    }
    // Round each weight, then give what rounding lost or gained to the heaviest, so they add up to one.
    c.first[static_cast<std::size_t>(t)] = first;
    c.begin[static_cast<std::size_t>(t)] = static_cast<int>(c.weights.size());
    std::uint32_t sum = 0;
    std::size_t heaviest = c.weights.size();
    for (const double w : exact) {
      const auto fixed = static_cast<std::uint16_t>(std::lround(w * kOne));
      if (heaviest == c.weights.size() || fixed > c.weights[heaviest]) heaviest = c.weights.size();
      c.weights.push_back(fixed);
      sum += fixed;
    }
    c.weights[heaviest] = static_cast<std::uint16_t>(c.weights[heaviest] + kOne - sum);
  }
  c.begin[static_cast<std::size_t>(targetLength)] = static_cast<int>(c.weights.size());
  return c;
}

Resampler::Resampler(const Bitmap& source, Size target)
    : source_(source),
      target_(target.width > 0 && target.height > 0 && source.size.width > 0 && source.size.height > 0 ? target
                                                                                                        : Size{}),
      columns_(Cover(source.size.width, target_.width)),
      rows_(Cover(source.size.height, target_.height)),
      bgr_(source.bitsPerPixel == 8 ? static_cast<std::size_t>(source.size.width) * 3 : 0),
      across_(static_cast<std::size_t>(target_.width) * 3),
      sum_(static_cast<std::size_t>(target_.width) * 3) {}

void Resampler::MakeRow(int y) {
  if (y == madeRow_) return;
  madeRow_ = y;
  const std::uint8_t* row = source_.pixels.data() + static_cast<std::size_t>(y) * source_.Stride();
  if (source_.bitsPerPixel == 8) {
    for (int x = 0; x < source_.size.width; ++x) {
      const std::uint8_t index = row[x];
      const Color c = index < source_.palette.size() ? source_.palette[index] : kBlack;
      bgr_[x * 3 + 0] = c.B();
      bgr_[x * 3 + 1] = c.G();
      bgr_[x * 3 + 2] = c.R();
    }
    row = bgr_.data();
  }
  for (std::size_t x = 0; x < static_cast<std::size_t>(target_.width); ++x) {
    const std::uint8_t* p = row + static_cast<std::size_t>(columns_.first[x]) * 3;
    std::uint32_t b = 0, g = 0, r = 0;
    for (int k = columns_.begin[x]; k < columns_.begin[x + 1]; ++k, p += 3) {
      const std::uint32_t weight = columns_.weights[static_cast<std::size_t>(k)];
      b += p[0] * weight;
      g += p[1] * weight;
      r += p[2] * weight;
    }
    across_[x * 3 + 0] = b;
    across_[x * 3 + 1] = g;
    across_[x * 3 + 2] = r;
  }
}

Bitmap Resampler::Rows(int first, int count) {
  first = std::clamp(first, 0, target_.height);
  count = std::clamp(count, 0, target_.height - first);
  Bitmap out = Bitmap::Rgb({count ? target_.width : 0, count});
  const std::size_t values = static_cast<std::size_t>(target_.width) * 3;
  for (int y = 0; y < count; ++y) {
    const auto t = static_cast<std::size_t>(first + y);
    std::fill(sum_.begin(), sum_.end(), 0u);
    // At most 255 * kOne * kOne: fits 32 bits.
    for (int k = rows_.begin[t]; k < rows_.begin[t + 1]; ++k) {
      MakeRow(rows_.first[t] + (k - rows_.begin[t]));
      const std::uint32_t weight = rows_.weights[static_cast<std::size_t>(k)];
      for (std::size_t i = 0; i < values; ++i) sum_[i] += across_[i] * weight;
    }
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(out.Stride());
    for (std::size_t i = 0; i < values; ++i)
      dst[i] = static_cast<std::uint8_t>((sum_[i] + (1u << (2 * kWeightBits - 1))) >> (2 * kWeightBits));
  }
  return out;
}

namespace {

[[noreturn]] void Invalid() { throw std::runtime_error("Bitmap image is not valid"); }

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 4 > d.size()) Invalid();
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 2 > d.size()) Invalid();
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;

// Decodes RLE8 data into the bitmap's top-down rows; the data's first line is the picture's bottom
// row. Pixels the data skips (end of line, delta, an early end) keep palette index 0. Anything
// that would reach outside the picture or past the data is an error.
void DecodeRle8(std::span<const std::uint8_t> data, Bitmap& b) {
  const auto width = static_cast<std::size_t>(b.size.width);
  const auto height = static_cast<std::size_t>(b.size.height);
  const auto stride = static_cast<std::size_t>(b.Stride());
  std::size_t x = 0;
  std::size_t line = 0;  // counted from the bottom row
  std::size_t at = 0;
  auto need = [&](std::size_t n) {
    if (data.size() - at < n) Invalid();
  };
  auto put = [&](std::span<const std::uint8_t> indices) {
    if (line >= height || indices.size() > width - x) Invalid();
    std::copy(indices.begin(), indices.end(), b.pixels.begin() + static_cast<std::ptrdiff_t>((height - 1 - line) * stride + x));
    x += indices.size();
  };
  for (;;) {
    need(2);
    const std::uint8_t count = data[at];
    const std::uint8_t value = data[at + 1];
    at += 2;
    if (count != 0) {  // an encoded run: `count` pixels of one index
      if (line >= height || count > width - x) Invalid();
      std::fill_n(b.pixels.begin() + static_cast<std::ptrdiff_t>((height - 1 - line) * stride + x), count, value);
      x += count;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++line;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta: right and down (in the data's order) by the next two bytes
        need(2);
        x += data[at];
        line += data[at + 1];
        at += 2;
        if (x > width || line > height) Invalid();
        break;
      default:  // an absolute run of `value` indices, padded to a 16-bit boundary
        need(value + (value & 1u));
        put(data.subspan(at, value));
        at += value + (value & 1u);
        break;
    }
  }
}

}  // namespace

Bitmap ParseBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') Invalid();
  const std::uint32_t dataOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  const auto width = static_cast<std::int32_t>(U32(file, 18));
  const auto rawHeight = static_cast<std::int32_t>(U32(file, 22));
  const std::uint16_t bpp = U16(file, 28);
  const std::uint32_t compression = U32(file, 30);
  std::uint32_t colours = U32(file, 46);
  const bool rle8 = compression == kRle8 && bpp == 8 && rawHeight > 0;  // RLE8 is bottom-up only
  if (headerSize < 40 || width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 ||
      rawHeight > 16384 || (bpp != 8 && bpp != 24) || (compression != kUncompressed && !rle8))
    Invalid();

  Bitmap b;
  b.size = {width, rawHeight < 0 ? -rawHeight : rawHeight};
  b.bitsPerPixel = bpp;
  if (bpp == 8) {
    if (colours == 0 || colours > 256) colours = 256;
    const std::uint64_t paletteAt = 14ull + headerSize;
    if (paletteAt > file.size() || (file.size() - paletteAt) / 4 < colours) Invalid();
    for (std::uint32_t i = 0; i < colours; ++i) {
      const std::uint8_t* q = &file[static_cast<std::size_t>(paletteAt) + i * 4];
      b.palette.push_back(Color::Rgb(q[2], q[1], q[0]));
    }
  }
  const auto stride = static_cast<std::size_t>(b.Stride());
  const std::size_t rows = static_cast<std::size_t>(b.size.height);
  if (dataOffset > file.size()) Invalid();
  if (rle8) {
    b.pixels.assign(stride * rows, 0);
    DecodeRle8(file.subspan(dataOffset), b);
    return b;
  }
  if (file.size() - dataOffset < stride * rows) Invalid();
  b.pixels.resize(stride * rows);
  for (std::size_t y = 0; y < rows; ++y) {
    const std::size_t from = rawHeight > 0 ? rows - 1 - y : y;  // positive height: bottom row first
    std::copy_n(&file[dataOffset + from * stride], stride, &b.pixels[y * stride]);
  }
  return b;
}

}  // namespace ui
