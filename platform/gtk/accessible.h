// What a screen reader sees of the launcher window on Linux: the drawing area's accessible has one
// link child a control of the window model, in reading order (ATK, read through at-spi).
#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <functional>

#include "ui/form.h"

namespace platform {

// What the area's accessible reads. The host owns it and outlives every accessible object.
struct AccessibleModel {
  ui::Form* form = nullptr;  // null once the window has gone: the objects then answer nothing
  // Queues a reader's default action on the control at this place of the reading order.
  std::function<void(std::size_t)> invoke;
  AtkObject* accessible = nullptr;  // the area's accessible, once a reader has asked for it
};

// A drawing area whose accessible presents `model`'s form.
GtkWidget* AccessibleAreaNew(AccessibleModel& model);

// Tells readers that `control` was enabled or disabled, if one has looked at the window.
void AnnounceEnabled(AccessibleModel& model, const ui::Control& control);

}  // namespace platform
