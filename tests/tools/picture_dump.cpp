// Prints a picture of the assets resampled by the core to a given size, as a binary PPM: what the
// Linux end-to-end test compares the screen with at 200 %.
// usage: picture_dump FILE.jpg|FILE.bmp WIDTH HEIGHT > out.ppm
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/picture.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: picture_dump FILE WIDTH HEIGHT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string name = argv[1];
  const ui::Size size{std::atoi(argv[2]), std::atoi(argv[3])};
  // Decoded as the window decodes it for that size.
  const ui::Bitmap source = name.ends_with(".bmp") ? ui::ParseBmp(file) : ui::LibJpeg().Decode(file, size);
  ui::Resampler resampler(source, size);
  const ui::Bitmap out = resampler.Rows(0, resampler.Target().height);
  std::printf("P6 %d %d 255\n", out.size.width, out.size.height);
  for (int y = 0; y < out.size.height; ++y)
    for (int x = 0; x < out.size.width; ++x) {
      const std::uint8_t* p = out.pixels.data() + static_cast<std::size_t>(y) * out.Stride() + x * 3;
      std::putchar(p[2]), std::putchar(p[1]), std::putchar(p[0]);
    }
  return 0;
}
