// The application's default error report.
#include "app/error_report.h"

namespace app {

std::string WithFullStop(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > 0x2E) message.push_back('.');
  return message;
}

std::optional<platform::ErrorMessage> ReportFor(std::exception_ptr error, std::string_view title) {
  std::string message;
  try {
    std::rethrow_exception(error);
  } catch (const SilentAbort&) {
    return std::nullopt;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  return platform::ErrorMessage{WithFullStop(std::move(message)), std::string(title)};
}

}  // namespace app
