// Where the window goes on the desktop and how its layout follows the pixel density.
#pragma once

#include "ui/geometry.h"

namespace ui {

// The top-left corner that centres a window of outer size `outer` on `desktop` (the bounding
// rectangle of all monitors), never left of or above the desktop's own corner.
Point CentreOn(const Rect& desktop, Size outer);

// The layout is designed at 96 pixels per inch, where the default font's text cell is 13 pixels
// high. At another density every length is multiplied by the text height there over 13.
inline constexpr int kDesignDpi = 96;
inline constexpr int kDesignTextHeight = 13;

class Scaling {
 public:
  Scaling() = default;  // unscaled
  // `textHeightAtDpi` is the default font's text cell height when drawn at `dpi`.
  Scaling(int dpi, int textHeightAtDpi);

  int Length(int designLength) const { return MulDiv(designLength, m_, d_); }
  Rect Apply(const Rect& r) const { return {Length(r.left), Length(r.top), Length(r.width), Length(r.height)}; }
  Size Apply(Size s) const { return {Length(s.width), Length(s.height)}; }
  // A font given in points at design time, as a character height in pixels at `dpi`.
  int FontHeight(int designPoints) const { return MulDiv(Length(designPoints), dpi_, 72); }
  int Dpi() const { return dpi_; }

 private:
  int dpi_ = kDesignDpi;
  int m_ = 1;
  int d_ = 1;
};

// The default font's character height at `dpi`: 11 pixels at 96 pixels per inch.
int DefaultFontHeight(int dpi);

}  // namespace ui
