// The application's default error report: what an exception escaping a handler shows.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window_host.h"

namespace app {

inline constexpr std::string_view kApplicationTitle = "Vantrel Setup";

// Thrown to abandon a handler without any report.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// The message with a full stop added when its last character's code is above 0x2E: none after a
// control character, the space, or '!' through '.'.
std::string WithFullStop(std::string message);

// The report for an escaped exception, captioned with the application title, or nothing for a
// silent abort.
std::optional<platform::ErrorMessage> ReportFor(std::exception_ptr error, std::string_view title = kApplicationTitle);

}  // namespace app
