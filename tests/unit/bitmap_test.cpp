// The BMP reader, the resampler and the libjpeg decoder on the committed pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "ui/bitmap.h"
#include "ui/picture.h"

namespace {

std::vector<std::uint8_t> ReadAsset(const char* name) {
  std::ifstream in(std::string(ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A BMP file with the given header fields and pixel rows (already padded).
std::vector<std::uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<std::uint8_t>& rows,
                                  int colours = 2) {
  std::vector<std::uint8_t> f(54);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  const std::size_t paletteBytes = bpp == 8 ? colours * 4 : 0;
  put32(10, static_cast<std::uint32_t>(54 + paletteBytes));
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  f[26] = 1;
  f[28] = static_cast<std::uint8_t>(bpp);
  put32(46, bpp == 8 ? colours : 0);
  if (bpp == 8) {
    const std::uint8_t palette[] = {0, 0, 255, 0, 255, 0, 0, 0};  // index 0 red, 1 blue (B,G,R,0)
    f.insert(f.end(), palette, palette + paletteBytes);
  }
  f.insert(f.end(), rows.begin(), rows.end());
  put32(2, static_cast<std::uint32_t>(f.size()));
  return f;
}

TEST(Bmp, ReadsTheBannerAsThePalettisedBitmapItIs) {
  const auto file = ReadAsset("banner.bmp");
  const ui::Bitmap b = ui::ParseBmp(file);
  EXPECT_EQ(b.size, (ui::Size{421, 105}));
  EXPECT_EQ(b.bitsPerPixel, 8);
  EXPECT_EQ(b.palette.size(), 256u);
  EXPECT_EQ(file[30], 1);  // stored RLE8
  EXPECT_LT(file.size(), 10000u);
}

TEST(Bmp, PutsTheTopRowFirstWhateverTheFilesRowOrder) {
  // 1 x 2 picture, 8 bits: row data padded to 4 bytes. Bottom-up (positive height): the file's first
  // row is the picture's bottom row.
  const auto bottomUp = ui::ParseBmp(MakeBmp(1, 2, 8, {1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(bottomUp.PixelAt(0, 0), ui::Color::Rgb(255, 0, 0));
  EXPECT_EQ(bottomUp.PixelAt(0, 1), ui::Color::Rgb(0, 0, 255));
  const auto topDown = ui::ParseBmp(MakeBmp(1, -2, 8, {1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(topDown.PixelAt(0, 0), ui::Color::Rgb(0, 0, 255));
}

TEST(Bmp, RejectsWhatItCannotShowInsteadOfReadingPastTheData) {
  const auto good = MakeBmp(2, 2, 24, std::vector<std::uint8_t>(16, 7));
  struct Row { const char* what; std::vector<std::uint8_t> file; };
  std::vector<Row> rows = {
      {"empty", {}},
      {"not a bitmap", std::vector<std::uint8_t>(60, 'x')},
      {"pixels cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
      {"4 bits per pixel", MakeBmp(2, 2, 4, std::vector<std::uint8_t>(8))},
      {"zero width", MakeBmp(0, 2, 24, {})},
      {"huge height", MakeBmp(1, 1 << 20, 24, std::vector<std::uint8_t>(4))},
  };
  auto compressed = good;
  compressed[30] = 1;  // RLE8
  rows.push_back({"RLE8 of a 24-bit picture", compressed});
  auto offsetPast = good;
  offsetPast[10] = 0xFF;
  offsetPast[11] = 0xFF;
  rows.push_back({"data offset past the end", offsetPast});
  for (const Row& r : rows) EXPECT_THROW(ui::ParseBmp(r.file), std::runtime_error) << r.what;
  EXPECT_NO_THROW(ui::ParseBmp(good));
}

TEST(Bmp, ReadsRle8IntoTheRowsItNamesAndRefusesWhatReachesOutside) {
  // A 3 x 2 picture; `want` is its indices, top row first, or empty when the data must be refused.
  struct Row { const char* what; std::vector<std::uint8_t> data; std::vector<std::uint8_t> want; int height = 2; };
  const Row rows[] = {
      {"encoded runs, bottom row first", {3, 1, 0, 0, 2, 2, 1, 0, 0, 1}, {2, 2, 0, 1, 1, 1}},
      {"an absolute run padded to 16 bits", {0, 3, 1, 2, 1, 0, 0, 0, 3, 2, 0, 1}, {2, 2, 2, 1, 2, 1}},
      {"an early end of line leaves index 0", {1, 2, 0, 0, 1, 1, 0, 1}, {1, 0, 0, 2, 0, 0}},
      {"a delta skips right and up", {1, 1, 0, 2, 1, 1, 1, 2, 0, 1}, {0, 0, 2, 1, 0, 0}},
      {"an early end of bitmap", {1, 1, 0, 1}, {0, 0, 0, 1, 0, 0}},
      {"a run past the row's end", {4, 1, 0, 1}, {}},
      {"an absolute run past the row's end", {0, 4, 1, 1, 1, 1, 0, 1}, {}},
      {"an absolute run cut short", {0, 3, 1, 1}, {}},
      {"no end of bitmap", {3, 1, 0, 0}, {}},
      {"lines past the top", {0, 0, 0, 0, 1, 1, 0, 1}, {}},
      {"a delta past the picture", {0, 2, 4, 0, 0, 1}, {}},
      {"a delta cut short", {0, 2, 1}, {}},
      {"top-down rows", {3, 1, 0, 1}, {}, -2},
  };
  for (const Row& r : rows) {
    auto file = MakeBmp(3, r.height, 8, r.data);
    file[30] = 1;  // BI_RLE8
    if (r.want.empty()) {
      EXPECT_THROW(ui::ParseBmp(file), std::runtime_error) << r.what;
      continue;
    }
    const ui::Bitmap b = ui::ParseBmp(file);
    const std::vector<std::uint8_t> got{b.pixels[0], b.pixels[1], b.pixels[2], b.pixels[4], b.pixels[5], b.pixels[6]};
    EXPECT_EQ(got, r.want) << r.what;
  }
}

TEST(Resample, FillsTheTargetExactlyWithoutKeepingTheAspect) {
  ui::Bitmap src = ui::Bitmap::Rgb({407, 804});
  for (auto& byte : src.pixels) byte = 200;
  const ui::Bitmap out = ui::Resample(src, {130, 278});
  EXPECT_EQ(out.size, (ui::Size{130, 278}));
  EXPECT_EQ(out.PixelAt(0, 0), ui::Color::Rgb(200, 200, 200));
  EXPECT_EQ(out.PixelAt(129, 277), ui::Color::Rgb(200, 200, 200));
}

TEST(Resample, AveragesWhenShrinkingAndBlendsWhenEnlarging) {
  // Two columns, black and white: halving the width gives the mean; the palette is looked up.
  auto twoColumns = ui::ParseBmp(MakeBmp(2, 1, 8, {0, 1, 0, 0}));
  const ui::Bitmap half = ui::Resample(twoColumns, {1, 1});
  EXPECT_EQ(half.PixelAt(0, 0), ui::Color::Rgb(128, 0, 128));
  // Enlarging keeps the colours at the ends and blends between them.
  const ui::Bitmap wide = ui::Resample(twoColumns, {4, 1});
  EXPECT_EQ(wide.PixelAt(0, 0), ui::Color::Rgb(255, 0, 0));
  EXPECT_EQ(wide.PixelAt(3, 0), ui::Color::Rgb(0, 0, 255));
  EXPECT_GT(wide.PixelAt(1, 0).R(), wide.PixelAt(2, 0).R());
  EXPECT_GT(wide.PixelAt(1, 0).B(), 0);
  // The banner is squeezed in width and stretched in height at once.
  const ui::Bitmap banner = ui::Resample(ui::ParseBmp(ReadAsset("banner.bmp")), {369, 113});
  EXPECT_EQ(banner.size, (ui::Size{369, 113}));
  EXPECT_EQ(banner.bitsPerPixel, 24);
}

// The area-averaging resampler in doubles, straight from its definition: what the fixed-point one
// must match within one step per channel.
ui::Bitmap ResampleInDoubles(const ui::Bitmap& src, ui::Size target) {
  auto weights = [](int from, int to, int t) {
    std::vector<std::pair<int, double>> out;
    const double step = static_cast<double>(from) / to;
    if (step < 1.0) {
      const double centre = std::clamp((t + 0.5) * step - 0.5, 0.0, from - 1.0);
      const int lo = static_cast<int>(centre);
      out.push_back({lo, 1.0 - (centre - lo)});
      if (lo + 1 < from) out.push_back({lo + 1, centre - lo});
      return out;
    }
    for (int i = static_cast<int>(t * step); i < from && i < (t + 1) * step; ++i)
      out.push_back({i, (std::min<double>(i + 1, (t + 1) * step) - std::max<double>(i, t * step)) / step});
    return out;
  };
  ui::Bitmap out = ui::Bitmap::Rgb(target);
  for (int y = 0; y < target.height; ++y)
    for (int x = 0; x < target.width; ++x) {
      double rgb[3] = {};
      for (auto [sy, wy] : weights(src.size.height, target.height, y))
        for (auto [sx, wx] : weights(src.size.width, target.width, x)) {
          const ui::Color c = src.PixelAt(sx, sy);
          rgb[0] += c.R() * wx * wy, rgb[1] += c.G() * wx * wy, rgb[2] += c.B() * wx * wy;
        }
      std::uint8_t* p = out.pixels.data() + static_cast<std::size_t>(y) * out.Stride() + x * 3;
      for (int i = 0; i < 3; ++i) p[2 - i] = static_cast<std::uint8_t>(std::clamp(std::lround(rgb[i]), 0L, 255L));
    }
  return out;
}

TEST(Resample, FixedPointIsWithinOneStepOfTheExactAverage) {
  const ui::Bitmap photo = ui::LibJpeg().Decode(ReadAsset("photograph.jpg"));
  const ui::Bitmap banner = ui::ParseBmp(ReadAsset("banner.bmp"));
  struct Row { const char* what; const ui::Bitmap& source; ui::Size target; };
  const Row rows[] = {
      {"photograph squeezed", photo, {130, 278}},
      {"banner squeezed across, stretched down", banner, {369, 113}},
      {"banner at 144 dpi", banner, {554, 170}},
      {"photograph at 192 dpi", photo, {260, 556}},
      {"banner unscaled, to 24 bits", banner, banner.size},
  };
  for (const Row& r : rows) {
    const ui::Bitmap fixed = ui::Resample(r.source, r.target);
    const ui::Bitmap exact = ResampleInDoubles(r.source, r.target);
    ASSERT_EQ(fixed.size, exact.size) << r.what;
    int worst = 0;
    for (std::size_t i = 0; i < fixed.pixels.size(); ++i) worst = std::max(worst, std::abs(fixed.pixels[i] - exact.pixels[i]));
    EXPECT_LE(worst, 1) << r.what;
  }
}

TEST(LibJpeg, ReadsSizesFromTheHeaderAndDecodesTheWholePicture) {
  struct Row { const char* file; ui::Size size; };
  for (const Row& r : {Row{"photograph.jpg", {407, 804}}, Row{"wordmark.jpg", {375, 80}}}) {
    const auto data = ReadAsset(r.file);
    EXPECT_EQ(ui::LibJpeg().ReadHeader(data), r.size) << r.file;
    const ui::Bitmap b = ui::LibJpeg().Decode(data);
    EXPECT_EQ(b.size, r.size) << r.file;
    EXPECT_EQ(b.pixels.size(), static_cast<std::size_t>(b.Stride()) * r.size.height) << r.file;
  }
  // The wordmark's top-left corner is white paper.
  const ui::Bitmap wordmark = ui::LibJpeg().Decode(ReadAsset("wordmark.jpg"));
  EXPECT_GT(wordmark.PixelAt(1, 1).R(), 240);
  EXPECT_GT(wordmark.PixelAt(1, 1).B(), 240);
}

TEST(LibJpeg, BadDataIsAnExceptionNotAnExit) {
  auto data = ReadAsset("wordmark.jpg");
  const std::vector<std::uint8_t> cut(data.begin(), data.begin() + 20);
  const std::vector<std::uint8_t> junk(100, 0x42);
  EXPECT_THROW(ui::LibJpeg().ReadHeader(junk), std::runtime_error);
  EXPECT_THROW(ui::LibJpeg().ReadHeader(std::span<const std::uint8_t>()), std::runtime_error);
  EXPECT_THROW(ui::LibJpeg().Decode(cut), std::runtime_error);
}

}  // namespace
