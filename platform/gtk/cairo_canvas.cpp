// Drawing the window model with cairo and pango.
#include "platform/gtk/cairo_canvas.h"

namespace platform {

void SetSource(cairo_t* cr, ui::Color c) { cairo_set_source_rgb(cr, c.R() / 255.0, c.G() / 255.0, c.B() / 255.0); }

PangoFontDescription* Describe(const ui::Font& font) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, font.face.c_str());
  // The character height in pixels is the em size, as Windows takes a negative font height.
  pango_font_description_set_absolute_size(d, font.height * PANGO_SCALE);
  pango_font_description_set_weight(d, (font.style & ui::kBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, (font.style & ui::kItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return d;
}

PangoLayout* MakeLayout(PangoContext* context, PangoFontDescription* d, std::string_view text) {
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, d);
  pango_font_description_free(d);
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  return layout;
}

ui::Color CairoCanvas::System(ui::SystemColor which) {
  switch (which) {
    case ui::SystemColor::kButtonHighlight: return ui::kWhite;
    case ui::SystemColor::kButtonShadow: return ui::Color::Rgb(160, 160, 160);
  }
  return ui::kBlack;
}

void CairoCanvas::FillRect(const ui::Rect& r, ui::Color color) {
  SetSource(cr_, color);
  cairo_rectangle(cr_, r.left, r.top, r.width, r.height);
  cairo_fill(cr_);
}

void CairoCanvas::DrawText(ui::Point origin, std::string_view text, const ui::Font& font, ui::Color color) {
  PangoLayout* layout = MakeLayout(context_, Describe(font), text);
  SetSource(cr_, color);
  cairo_move_to(cr_, origin.x, origin.y);
  pango_cairo_show_layout(cr_, layout);
  g_object_unref(layout);
}

void CairoCanvas::DrawBitmap(ui::Point at, const ui::Bitmap& bitmap, const ui::Rect& clip) {
  if (bitmap.bitsPerPixel != 24 || bitmap.size.width <= 0 || bitmap.size.height <= 0) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, bitmap.size.width, bitmap.size.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < bitmap.size.height; ++y) {
    const std::uint8_t* from = bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.Stride();
    auto* to = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < bitmap.size.width; ++x, from += 3)
      to[x] = (std::uint32_t{from[2]} << 16) | (std::uint32_t{from[1]} << 8) | from[0];  // native 0x00RRGGBB
  }
  cairo_surface_mark_dirty(surface);
  // Device pixels: at the window's scale the surface maps one to one, and cairo filters nothing.
  cairo_surface_set_device_scale(surface, scale_, scale_);
  cairo_save(cr_);
  cairo_rectangle(cr_, clip.left, clip.top, clip.width, clip.height);
  cairo_clip(cr_);
  cairo_set_source_surface(cr_, surface, at.x, at.y);
  cairo_rectangle(cr_, at.x, at.y, static_cast<double>(bitmap.size.width) / scale_,
                  static_cast<double>(bitmap.size.height) / scale_);
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(surface);
}

}  // namespace platform
