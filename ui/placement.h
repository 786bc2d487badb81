// Where the window goes on the desktop and how its layout follows the pixel density.
#pragma once

#include "ui/geometry.h"

namespace ui {

// The top-left corner that centres a window of outer size `outer` on `desktop` (the bounding
// rectangle of all monitors), never left of or above the desktop's own corner.
Point CentreOn(const Rect& desktop, Size outer);

// The layout is designed at 96 pixels per inch, where the default font's text cell is 13 pixels
// high. At another density every length is multiplied by the text height there over 13; a link's
// character height is such a length too, so its text grows exactly as much as the window around it.
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

 private:
  int m_ = 1;
  int d_ = 1;
};

// A character height designed in pixels at 96 pixels per inch, as pixels at `dpi`: how the
// window's default font follows the density before anything is measured in it.
inline int HeightAtDpi(int designHeight, int dpi) { return MulDiv(designHeight, dpi, kDesignDpi); }

}  // namespace ui
