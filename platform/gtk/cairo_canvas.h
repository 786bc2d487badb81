// Drawing the window model with cairo and pango, and the pango helpers the GTK host shares with it.
#pragma once

#include <gtk/gtk.h>

#include <string_view>

#include "ui/canvas.h"

namespace platform {

void SetSource(cairo_t* cr, ui::Color c);
// A font as pango describes it; the caller frees it (MakeLayout does).
PangoFontDescription* Describe(const ui::Font& font);
// A one-line layout of `text` in the font `d` describes (taken over and freed); the caller unrefs it.
PangoLayout* MakeLayout(PangoContext* context, PangoFontDescription* d, std::string_view text);

class CairoCanvas final : public ui::Canvas {
 public:
  CairoCanvas(cairo_t* cr, PangoContext* context, int scale) : cr_(cr), context_(context), scale_(scale) {}

  int DeviceScale() override { return scale_; }
  ui::Color System(ui::SystemColor which) override;
  void FillRect(const ui::Rect& r, ui::Color color) override;
  void DrawText(ui::Point origin, std::string_view text, const ui::Font& font, ui::Color color) override;
  void DrawBitmap(ui::Point at, const ui::Bitmap& bitmap, const ui::Rect& clip) override;

 private:
  cairo_t* const cr_;
  PangoContext* const context_;
  const int scale_;
};

}  // namespace platform
