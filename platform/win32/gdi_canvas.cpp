// Drawing the window model with GDI.
#include "platform/win32/gdi_canvas.h"

#include <algorithm>

#include "platform/win32/scoped.h"
#include "platform/win32/window_host.h"

namespace platform {

ui::Color GdiCanvas::System(ui::SystemColor which) {
  switch (which) {
    case ui::SystemColor::kButtonHighlight: return ui::Color{GetSysColor(COLOR_BTNHIGHLIGHT)};
    case ui::SystemColor::kButtonShadow: return ui::Color{GetSysColor(COLOR_BTNSHADOW)};
  }
  return ui::kBlack;
}

void GdiCanvas::FillRect(const ui::Rect& rect, ui::Color color) {
  const RECT r = ToRect(rect);
  SetDCBrushColor(dc_, color.value);
  ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::DrawText(ui::Point origin, std::string_view text, const ui::Font& font, ui::Color color) {
  ScopedSelectObject select(dc_, host_.FontFor(font));
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, color.value);
  TextOutA(dc_, origin.x, origin.y, text.data(), static_cast<int>(text.size()));
}

void GdiCanvas::DrawBitmap(ui::Point at, const ui::Bitmap& bitmap, const ui::Rect& clip) {
  if (bitmap.bitsPerPixel != 24) return;
  const int left = std::max(at.x, clip.left);
  const int top = std::max(at.y, clip.top);
  const int right = std::min(at.x + bitmap.size.width, clip.Right());
  const int bottom = std::min(at.y + bitmap.size.height, clip.Bottom());
  if (right <= left || bottom <= top) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.size.width;
  info.bmiHeader.biHeight = -bitmap.size.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc_, left, top, right - left, bottom - top, left - at.x, top - at.y, right - left, bottom - top,
                bitmap.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace platform
