// Centring and pixel-density scaling.
#include "ui/placement.h"

#include <algorithm>

namespace ui {

Point CentreOn(const Rect& desktop, Size outer) {
  return Point{std::max(desktop.left, desktop.left + desktop.width / 2 - outer.width / 2),
               std::max(desktop.top, desktop.top + desktop.height / 2 - outer.height / 2)};
}

Scaling::Scaling(int dpi, int textHeightAtDpi) {
  if (dpi != kDesignDpi && textHeightAtDpi > 0) {
    m_ = textHeightAtDpi;
    d_ = kDesignTextHeight;
  }
}

}  // namespace ui
