// Shell requests and process information over shell32 and kernel32.
#pragma once

#include "platform/process.h"
#include "platform/shell.h"

namespace platform {

class WindowsShell final : public Shell {
 public:
  std::intptr_t Execute(const shell::ShellOpenRequest& request) override;
};

class WindowsProcess final : public Process {
 public:
  std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override;
  bool IsLeadByte(unsigned char byte) override;
};

}  // namespace platform
