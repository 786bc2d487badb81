// Pictures shown by the window: their formats and when their pixels are decoded.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "ui/bitmap.h"

namespace ui {

// A picture whose pixels may be produced on first use and then kept.
class PictureData {
 public:
  virtual ~PictureData() = default;
  virtual const Bitmap& Pixels() = 0;
};

// The JPEG decoder the pictures use; replaced by a counting fake in tests.
class JpegCodec {
 public:
  virtual ~JpegCodec() = default;
  // Reads the header only. Throws std::runtime_error on data that is not a JPEG picture.
  virtual Size ReadHeader(std::span<const std::uint8_t> data) const = 0;
  // Decodes the whole picture into a 24-bit bitmap. Throws std::runtime_error on bad data.
  virtual Bitmap Decode(std::span<const std::uint8_t> data) const = 0;
};

// The libjpeg decoder.
const JpegCodec& LibJpeg();

// A JPEG picture: the header is read when it is made, so data that is no JPEG fails then; the
// pixels are decoded the first time they are asked for and kept. The data must outlive the picture
// (it is embedded).
class JpegPicture final : public PictureData {
 public:
  JpegPicture(std::span<const std::uint8_t> data, const JpegCodec& codec);
  const Bitmap& Pixels() override;

 private:
  std::span<const std::uint8_t> data_;
  const JpegCodec& codec_;
  std::optional<Bitmap> pixels_;
};

// A BMP picture, read whole when it is made; it keeps its palette.
class BmpPicture final : public PictureData {
 public:
  explicit BmpPicture(std::span<const std::uint8_t> data) : bitmap_(ParseBmp(data)) {}
  const Bitmap& Pixels() override { return bitmap_; }

 private:
  Bitmap bitmap_;
};

}  // namespace ui
