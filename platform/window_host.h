// What the launcher needs from the platform's window system: one window for a form, its drawing,
// text measurement, tooltips, the event loop and the default error report.
#pragma once

#include <string_view>

#include "ui/form.h"

namespace platform {

class WindowHost : public ui::TextMeasurer {
 public:
  // Logical pixels per inch of the screen.
  virtual int Dpi() = 0;
  // Creates the form's window (owned by a zero-size application window carrying the taskbar button
  // titled `title`), shows it as the process was asked to and runs the event loop until it closes.
  // An exception escaping a handler is reported in a message box captioned `title`, and the loop
  // goes on. Returns the process's exit code.
  virtual int Run(ui::Form& form, std::string_view title) = 0;
};

}  // namespace platform
