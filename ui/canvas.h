// What the window model needs from the platform to draw and to measure text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/bitmap.h"
#include "ui/geometry.h"

namespace ui {

enum FontStyle : unsigned { kRegular = 0, kBold = 1u << 0, kItalic = 1u << 1, kUnderline = 1u << 2 };
using FontStyles = unsigned;  // a set of FontStyle bits

struct Font {
  std::string face;
  int height = 0;  // character height in pixels (the cell height less internal leading)
  FontStyles style = kRegular;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class SystemColor { kButtonHighlight, kButtonShadow };

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The size of the single-line text cell of `text` in `font`.
  virtual Size MeasureText(const Font& font, std::string_view text) = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual Color System(SystemColor which) = 0;
  virtual void FillRect(const Rect& rect, Color color) = 0;
  // Draws a single line of text with its cell's top-left at `origin`, background left as it is.
  virtual void DrawText(Point origin, std::string_view text, const Font& font, Color color) = 0;
  // Device pixels to a length of one (2 on a desktop scaled to 200 %): pictures are resampled to
  // device pixels, so that nothing scales them again.
  virtual int DeviceScale() { return 1; }
  // Draws a 24-bit bitmap of device pixels unscaled with its top-left at `at`, clipped to `clip`.
  virtual void DrawBitmap(Point at, const Bitmap& bitmap, const Rect& clip) = 0;
};

}  // namespace ui
