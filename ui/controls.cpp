// The controls of the window model.
#include "ui/controls.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/marks.h"

namespace ui {

Control::Control(Form& owner, std::string name, Rect bounds)
    : owner_(owner), name_(std::move(name)), bounds_(bounds) {}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  owner_.Invalidate(bounds_);
  if (owner_.onEnabledChanged) owner_.onEnabledChanged(*this);
}

void Control::SetBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  const Rect old = bounds_;
  bounds_ = bounds;
  owner_.Invalidate(old);
  owner_.Invalidate(bounds_);
}

Label::Label(Form& owner, std::string name, Rect bounds, std::string caption, Font font, Color textColor,
             Color background)
    : Control(owner, std::move(name), bounds),
      caption_(std::move(caption)),
      font_(std::move(font)),
      textColor_(textColor),
      background_(background) {
  AdjustSize();
}

void Label::SetStyle(FontStyles style) {
  if (font_.style == style) return;
  font_.style = style;
  const Rect old = Bounds();
  AdjustSize();  // repaints the old and the new rectangle when the size changes
  if (Bounds() == old) owner_.Invalidate(old);  // same extent, other glyphs
}

void Label::AdjustSize() {
  const Size text = owner_.Measurer().MeasureText(font_, caption_);
  SetBounds(Rect{Bounds().left, Bounds().top, text.width, text.height});
}

void Label::Paint(Canvas& canvas, const Rect&) {
  const Rect& r = Bounds();
  canvas.FillRect(r, background_);
  if (Enabled()) {
    canvas.DrawText({r.left, r.top}, caption_, font_, textColor_);
    return;
  }
  // Disabled: embossed, the highlight one pixel right and down under the shadow.
  canvas.DrawText({r.left + 1, r.top + 1}, caption_, font_, canvas.System(SystemColor::kButtonHighlight));
  canvas.DrawText({r.left, r.top}, caption_, font_, canvas.System(SystemColor::kButtonShadow));
}

Picture::Picture(Form& owner, std::string name, Rect bounds, std::unique_ptr<PictureData> data, PictureFit fit)
    : Control(owner, std::move(name), bounds), data_(std::move(data)), fit_(fit) {}

void Picture::Paint(Canvas& canvas, const Rect& dirty) {
  const Rect& r = Bounds();
  const int scale = std::max(1, canvas.DeviceScale());
  const Size logical = fit_ == PictureFit::kStretch ? Size{r.width, r.height} : data_->NaturalSize();
  const Bitmap& pixels = data_->Pixels({logical.width * scale, logical.height * scale});
  if (fit_ == PictureFit::kNatural && pixels.bitsPerPixel == 24 && pixels.size == logical && scale == 1) {
    canvas.DrawBitmap({r.left, r.top}, pixels, r);
    return;
  }
  // Scaled to device pixels (or a palettised picture turned to 24 bits) a band of rows at a time,
  // and only the rows the dirty area needs: only the decoded picture is kept, never a scaled copy.
  const int band = std::max(1, 32 / scale);  // logical rows
  Resampler resampler(pixels, {logical.width * scale, logical.height * scale});
  const int first = std::max(0, dirty.top - r.top);
  const int end = std::min(logical.height, dirty.Bottom() - r.top);
  marks::Mark("resampling", Name().c_str());
  for (int y = first; y < end; y += band)
    canvas.DrawBitmap({r.left, r.top + y}, resampler.Rows(y * scale, std::min(band, end - y) * scale), r);
  marks::Mark("resampled", Name().c_str());
}

Label& AsLabel(Control& control) {
  if (control.Kind() != ControlKind::kLabel) throw InvalidCast();
  return static_cast<Label&>(control);
}

}  // namespace ui
