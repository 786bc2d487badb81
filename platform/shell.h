// The shell operation that opens a document, a web address or a program.
#pragma once

#include "shell/shell_open_request.h"

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Hands one request over without waiting for what it starts. Its outcome is not reported: whatever
  // goes wrong, the system shows itself.
  virtual void Execute(const shell::ShellOpenRequest& request) = 0;
};

}  // namespace platform
