// What the launcher needs from the platform's window system: one window for a form, its drawing,
// text measurement, tooltips, the event loop, and a place to show the application's error report.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/form.h"

namespace platform {

// What the application's default error report shows: a message in a modal error box with a caption.
struct ErrorMessage {
  std::string text;
  std::string caption;
  friend bool operator==(const ErrorMessage&, const ErrorMessage&) = default;
};

// The application's answer to an exception that escaped a handler: the message to show, or nothing
// (a silent abort). It never throws.
using ErrorReport = std::function<std::optional<ErrorMessage>(std::exception_ptr)>;

class WindowHost : public ui::TextMeasurer {
 public:
  // Logical pixels per inch of the screen.
  virtual int Dpi() = 0;
  // Creates the form's window (owned by a zero-size application window carrying the taskbar button
  // titled `title`), shows it as the process was asked to and runs the event loop until it closes.
  // An exception escaping a handler is handed to `report`, what it answers is shown in a modal box
  // with the platform's error icon while the other windows are disabled, and the loop goes on.
  // Returns the process's exit code.
  virtual int Run(ui::Form& form, std::string_view title, const ErrorReport& report) = 0;
};

}  // namespace platform
