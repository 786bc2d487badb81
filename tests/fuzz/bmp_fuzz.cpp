// Fuzzes the BMP reader, RLE8 included: any input either parses into a bitmap whose pixel buffer
// is exactly its rows, or is refused with std::runtime_error; never a read or write outside the
// buffers (the sanitizers watch).
#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "ui/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::span<const std::uint8_t> file(bytes, size);
  // Keep each run small: the reader itself allows far larger pictures than are worth fuzzing.
  if (size >= 26) {
    const auto width = static_cast<std::int64_t>(static_cast<std::int32_t>(bytes[18] | bytes[19] << 8 | bytes[20] << 16 | static_cast<std::uint32_t>(bytes[21]) << 24));
    const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(bytes[22] | bytes[23] << 8 | bytes[24] << 16 | static_cast<std::uint32_t>(bytes[25]) << 24));
    if (std::llabs(width) * std::llabs(height) > (1 << 16)) return 0;
  }
  try {
    const ui::Bitmap b = ui::ParseBmp(file);
    if (b.pixels.size() != static_cast<std::size_t>(b.Stride()) * static_cast<std::size_t>(b.size.height)) std::abort();
    if (b.bitsPerPixel == 8 && (b.palette.empty() || b.palette.size() > 256)) std::abort();
    (void)ui::Resampler(b, {7, 5}).Rows(0, 5);  // every palette index, in range or not, can be drawn
  } catch (const std::runtime_error&) {
  }
  return 0;
}
