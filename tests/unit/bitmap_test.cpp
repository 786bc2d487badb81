// The BMP reader, the resampler and the libjpeg decoder on the committed pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "pixels.h"
#include "ui/bitmap.h"
#include "ui/picture.h"

namespace {

using testing_pixels::PixelAt;
using testing_pixels::Resample;

std::vector<std::uint8_t> ReadAsset(const char* name) {
  std::ifstream in(std::string(ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A BMP file with the given header fields and pixel rows (already padded).
std::vector<std::uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<std::uint8_t>& rows,
                                  int colours = 2) {
  const std::size_t paletteBytes = bpp == 8 ? static_cast<std::size_t>(colours) * 4 : 0;
  std::vector<std::uint8_t> f(54 + paletteBytes + rows.size());
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, static_cast<std::uint32_t>(f.size()));
  put32(10, static_cast<std::uint32_t>(54 + paletteBytes));
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  f[26] = 1;
  f[28] = static_cast<std::uint8_t>(bpp);
  put32(46, bpp == 8 ? colours : 0);
  const std::uint8_t palette[] = {0, 0, 255, 0, 255, 0, 0, 0};  // index 0 red, 1 blue (B,G,R,0)
  for (std::size_t i = 0; i < paletteBytes; ++i) f[54 + i] = i < sizeof palette ? palette[i] : 0;
  std::copy(rows.begin(), rows.end(), f.begin() + static_cast<std::ptrdiff_t>(54 + paletteBytes));
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
  EXPECT_EQ(PixelAt(bottomUp, 0, 0), ui::Color::Rgb(255, 0, 0));
  EXPECT_EQ(PixelAt(bottomUp, 0, 1), ui::Color::Rgb(0, 0, 255));
  const auto topDown = ui::ParseBmp(MakeBmp(1, -2, 8, {1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(topDown, 0, 0), ui::Color::Rgb(0, 0, 255));
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
  const ui::Bitmap out = Resample(src, {130, 278});
  EXPECT_EQ(out.size, (ui::Size{130, 278}));
  EXPECT_EQ(PixelAt(out, 0, 0), ui::Color::Rgb(200, 200, 200));
  EXPECT_EQ(PixelAt(out, 129, 277), ui::Color::Rgb(200, 200, 200));
}

TEST(Resample, HandWorkedAveragesAndBlendsComeOutExact) {
  // Shrinking: each target pixel is the mean of the source pixels it covers. Eleven pixels into one
  // weigh 1/11 each, 372.36 / 4096 in fixed point: rounded they add up to 4092, and unless the lost
  // 4 go back to a weight the mean of three white pixels, 3 x 255 / 11 = 69.55, comes out 69, not 70.
  // Enlarging 2 to 4: target pixel 1's centre falls a quarter of the way from red to blue.
  const auto white = [](int i) { return i == 0 || i >= 9; };
  ui::Bitmap across = ui::Bitmap::Rgb({11, 1});
  ui::Bitmap down = ui::Bitmap::Rgb({1, 11});
  for (int i = 0; i < 11; ++i)
    for (int c = 0; c < 3; ++c) {
      across.pixels[i * 3 + c] = white(i) ? 255 : 0;
      down.pixels[static_cast<std::size_t>(i) * down.Stride() + c] = white(i) ? 255 : 0;
    }
  auto twoColumns = ui::ParseBmp(MakeBmp(2, 1, 8, {0, 1, 0, 0}));  // red, blue, through the palette
  struct Row { const char* what; const ui::Bitmap& source; ui::Size target; ui::Point at; ui::Color want; };
  const Row rows[] = {
      {"eleven columns into one", across, {1, 1}, {0, 0}, ui::Color::Rgb(70, 70, 70)},
      {"eleven rows into one", down, {1, 1}, {0, 0}, ui::Color::Rgb(70, 70, 70)},
      {"two columns into one: the mean", twoColumns, {1, 1}, {0, 0}, ui::Color::Rgb(128, 0, 128)},
      {"two to four: the first end", twoColumns, {4, 1}, {0, 0}, ui::Color::Rgb(255, 0, 0)},
      {"two to four: 3/4 red, 1/4 blue", twoColumns, {4, 1}, {1, 0}, ui::Color::Rgb(191, 0, 64)},
      {"two to four: the last end", twoColumns, {4, 1}, {3, 0}, ui::Color::Rgb(0, 0, 255)},
  };
  for (const Row& r : rows) {
    const ui::Bitmap out = Resample(r.source, r.target);
    ASSERT_EQ(out.size, r.target) << r.what;
    EXPECT_EQ(PixelAt(out, r.at.x, r.at.y), r.want) << r.what;
  }
  // The banner is squeezed in width and stretched in height at once.
  const ui::Bitmap banner = Resample(ui::ParseBmp(ReadAsset("banner.bmp")), {369, 113});
  EXPECT_EQ(banner.size, (ui::Size{369, 113}));
  EXPECT_EQ(banner.bitsPerPixel, 24);
}

TEST(LibJpeg, ReadsSizesFromTheHeaderAndDecodesTheWholePicture) {
  struct Row { const char* file; ui::Size size; };
  for (const Row& r : {Row{"photograph.jpg", {407, 804}}, Row{"wordmark.jpg", {375, 80}}}) {
    const auto data = ReadAsset(r.file);
    EXPECT_EQ(ui::LibJpeg().ReadHeader(data), r.size) << r.file;
    const ui::Bitmap b = ui::LibJpeg().Decode(data, {});
    EXPECT_EQ(b.size, r.size) << r.file;
    EXPECT_EQ(b.pixels.size(), static_cast<std::size_t>(b.Stride()) * r.size.height) << r.file;
  }
  // The wordmark's top-left corner is white paper.
  const ui::Bitmap wordmark = ui::LibJpeg().Decode(ReadAsset("wordmark.jpg"), {});
  EXPECT_GT(PixelAt(wordmark, 1, 1).R(), 240);
  EXPECT_GT(PixelAt(wordmark, 1, 1).B(), 240);
}

TEST(LibJpeg, DecodesNoLargerThanThePictureIsDrawn) {
  // 407 x 804 halved as often as it still covers the size asked: once (204 x 402) for the
  // photograph's place at 96 dpi, not at all at 200 % (260 x 556), three times at most.
  struct Row { ui::Size asked, want; };
  const Row rows[] = {{{130, 278}, {204, 402}}, {{260, 556}, {407, 804}}, {{50, 100}, {51, 101}},
                      {{1, 1}, {51, 101}}, {{1000, 10}, {407, 804}}, {{}, {407, 804}}};
  const auto data = ReadAsset("photograph.jpg");
  for (const Row& r : rows)
    EXPECT_EQ(ui::LibJpeg().Decode(data, r.asked).size, r.want) << r.asked.width << " x " << r.asked.height;
}

TEST(LibJpeg, BadDataIsAnExceptionNotAnExit) {
  auto data = ReadAsset("wordmark.jpg");
  const std::vector<std::uint8_t> cut(data.begin(), data.begin() + 20);
  const std::vector<std::uint8_t> junk(100, 0x42);
  EXPECT_THROW(ui::LibJpeg().ReadHeader(junk), std::runtime_error);
  EXPECT_THROW(ui::LibJpeg().ReadHeader(std::span<const std::uint8_t>()), std::runtime_error);
  EXPECT_THROW(ui::LibJpeg().Decode(cut, {}), std::runtime_error);
}

}  // namespace
