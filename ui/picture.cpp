// JPEG pictures decoded on first draw, and the libjpeg decoder behind them.
#include "ui/picture.h"

#include <csetjmp>
#include <cstring>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

#include "ui/marks.h"

namespace ui {

JpegPicture::JpegPicture(std::span<const std::uint8_t> data, const JpegCodec& codec)
    : data_(data), codec_(codec), size_(codec.ReadHeader(data)) {}

const Bitmap& JpegPicture::Pixels(Size drawn) {
  const bool tooSmall = pixels_ && pixels_->size != size_ &&
                        (pixels_->size.width < drawn.width || pixels_->size.height < drawn.height);
  if (!pixels_ || tooSmall) {
    pixels_ = codec_.Decode(data_, drawn);
    marks::Mark("decoded", "");
  }
  return *pixels_;
}

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back out of the
// C library instead of unwinding through it, and raise the exception on our side. The error manager
// is our own rather than the library's standard one, whose message formatting would bring the C
// runtime's printf family into the launcher; a message names the library's error code.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void FormatJpegMessage(j_common_ptr info, char* buffer) {
  const char prefix[] = "libjpeg error ";
  std::memcpy(buffer, prefix, sizeof prefix - 1);
  char digits[12];
  int n = 0;
  unsigned code = static_cast<unsigned>(info->err->msg_code);
  do {
    digits[n++] = static_cast<char>('0' + code % 10);
    code /= 10;
  } while (code && n < 11);
  char* out = buffer + sizeof prefix - 1;
  while (n) *out++ = digits[--n];
  *out = '\0';
}

extern "C" void OnJpegError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  FormatJpegMessage(info, err->message);
  std::longjmp(err->jump, 1);
}

extern "C" void OnJpegMessage(j_common_ptr, int) {}  // warnings and traces are not shown anywhere
extern "C" void OnJpegOutput(j_common_ptr) {}
extern "C" void OnJpegReset(j_common_ptr info) {
  info->err->num_warnings = 0;
  info->err->msg_code = 0;
}

// Runs libjpeg over `data`; with `out` null only the header is read. Returns false on error,
// with the library's message in `message`. No C++ object with a destructor lives across setjmp.
bool RunLibJpeg(std::span<const std::uint8_t> data, Size* size, Size atLeast, Bitmap* out, char* message) {
  jpeg_decompress_struct info;
  ErrorManager err;
  std::memset(&info, 0, sizeof info);
  std::memset(&err, 0, sizeof err);
  err.pub.error_exit = OnJpegError;
  err.pub.emit_message = OnJpegMessage;
  err.pub.output_message = OnJpegOutput;
  err.pub.format_message = FormatJpegMessage;
  err.pub.reset_error_mgr = OnJpegReset;
  info.err = &err.pub;
  if (setjmp(err.jump)) {
    std::strncpy(message, err.message, JMSG_LENGTH_MAX);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  *size = Size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
  if (out) {
    info.out_color_space = JCS_EXT_BGR;
    // The smallest of 1, 1/2, 1/4 and 1/8 (the scales libjpeg-turbo decodes with SIMD: the others
    // cost more time than the memory they save) that still gives at least the size asked for; a
    // library built without scaling decodes at the natural size whatever is asked.
    const auto at = [](int length, unsigned m) { return (static_cast<long long>(length) * m + 7) / 8; };
    unsigned m = 8;
    while (m > 1 && atLeast.width > 0 && atLeast.height > 0 && at(size->width, m / 2) >= atLeast.width &&
           at(size->height, m / 2) >= atLeast.height)
      m /= 2;
    info.scale_num = m;
    info.scale_denom = 8;
    jpeg_calc_output_dimensions(&info);
    const Size decoded{static_cast<int>(info.output_width), static_cast<int>(info.output_height)};
    if (out->size != decoded) *out = Bitmap::Rgb(decoded);
    jpeg_start_decompress(&info);
    const auto stride = static_cast<std::size_t>(out->Stride());
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = out->pixels.data() + static_cast<std::size_t>(info.output_scanline) * stride;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  return true;
}

class LibJpegCodec final : public JpegCodec {
 public:
  Size ReadHeader(std::span<const std::uint8_t> data) const override {
    Size size;
    char message[JMSG_LENGTH_MAX] = {};
    if (!RunLibJpeg(data, &size, {}, nullptr, message)) throw std::runtime_error(std::string("JPEG error: ") + message);
    return size;
  }

  Bitmap Decode(std::span<const std::uint8_t> data, Size atLeast) const override {
    const Size size = ReadHeader(data);
    if (size.width <= 0 || size.height <= 0 || static_cast<long long>(size.width) * size.height > (1LL << 26))
      throw std::runtime_error("JPEG error: picture too large");
    Bitmap out;
    Size again;
    char message[JMSG_LENGTH_MAX] = {};
    if (!RunLibJpeg(data, &again, atLeast, &out, message)) throw std::runtime_error(std::string("JPEG error: ") + message);
    return out;
  }
};

}  // namespace

const JpegCodec& LibJpeg() {
  static const LibJpegCodec codec;
  return codec;
}

}  // namespace ui
