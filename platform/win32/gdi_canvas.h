// Drawing the window model with GDI: fills, text in the host's fonts, and 24-bit bitmaps.
#pragma once

#include <windows.h>

#include "ui/canvas.h"

namespace platform {

class Win32Host;

inline RECT ToRect(const ui::Rect& r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

class GdiCanvas final : public ui::Canvas {
 public:
  GdiCanvas(HDC dc, Win32Host& host) : dc_(dc), host_(host) {}

  ui::Color System(ui::SystemColor which) override;
  void FillRect(const ui::Rect& rect, ui::Color color) override;
  void DrawText(ui::Point origin, std::string_view text, const ui::Font& font, ui::Color color) override;
  void DrawBitmap(ui::Point at, const ui::Bitmap& bitmap, const ui::Rect& clip) override;

 private:
  const HDC dc_;
  Win32Host& host_;
};

}  // namespace platform
