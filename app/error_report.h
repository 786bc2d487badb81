// The application's default error report: what an exception escaping a handler shows.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kApplicationTitle = "Vantrel Setup";

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconStop = 0x10;

// Thrown to abandon a handler without any report.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

struct ErrorReport {
  std::string text;
  std::string caption;
  unsigned flags = kMbOk | kMbIconStop;
  friend bool operator==(const ErrorReport&, const ErrorReport&) = default;
};

// The message with a full stop added when its last character's code is above 0x2E: none after a
// control character, the space, or '!' through '.'.
std::string WithFullStop(std::string message);

// The report for an escaped exception, or nothing for a silent abort.
std::optional<ErrorReport> ReportFor(std::exception_ptr error, std::string_view title = kApplicationTitle);

}  // namespace app
