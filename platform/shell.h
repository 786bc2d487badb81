// The shell operation that opens a document, a web address or a program.
#pragma once

#include <cstdint>

#include "shell/shell_open_request.h"

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Carries out one request without waiting for what it starts; returns the platform's own result
  // (on Windows, ShellExecuteA's: greater than 32 on success).
  virtual std::intptr_t Execute(const shell::ShellOpenRequest& request) = 0;
};

}  // namespace platform
