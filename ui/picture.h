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
  virtual Size NaturalSize() const = 0;
  // The pixels, at least `drawn` in size where the picture may be decoded smaller than its natural
  // size (empty: natural size).
  virtual const Bitmap& Pixels(Size drawn) = 0;
};

// The JPEG decoder the pictures use; replaced by a counting fake in tests.
class JpegCodec {
 public:
  virtual ~JpegCodec() = default;
  // Reads the header only. Throws std::runtime_error on data that is not a JPEG picture.
  virtual Size ReadHeader(std::span<const std::uint8_t> data) const = 0;
  // Decodes the whole picture into a 24-bit bitmap: at its natural size, or halved as often as it
  // stays at least `atLeast` (down to 1/8) where the library can (empty: the natural size). Throws
  // std::runtime_error on bad data.
  virtual Bitmap Decode(std::span<const std::uint8_t> data, Size atLeast) const = 0;
};

// The libjpeg decoder.
const JpegCodec& LibJpeg();

// A JPEG picture: the header is read when it is made, so data that is no JPEG fails then; the
// pixels are decoded the first time they are asked for, no larger than they are drawn, and kept
// (decoded again only if it is later drawn larger). The data must outlive the picture (it is
// embedded).
class JpegPicture final : public PictureData {
 public:
  JpegPicture(std::span<const std::uint8_t> data, const JpegCodec& codec);
  Size NaturalSize() const override { return size_; }
  const Bitmap& Pixels(Size drawn) override;

 private:
  std::span<const std::uint8_t> data_;
  const JpegCodec& codec_;
  Size size_;
  std::optional<Bitmap> pixels_;
};

// A BMP picture, read whole when it is made; it keeps its palette.
class BmpPicture final : public PictureData {
 public:
  explicit BmpPicture(std::span<const std::uint8_t> data) : bitmap_(ParseBmp(data)) {}
  Size NaturalSize() const override { return bitmap_.size; }
  const Bitmap& Pixels(Size) override { return bitmap_; }

 private:
  Bitmap bitmap_;
};

}  // namespace ui
