// What the launcher asks about its own process: where its executable is, and the code page's
// double-byte lead bytes.
#pragma once

#include <cstdint>

namespace platform {

class Process {
 public:
  virtual ~Process() = default;
  // Copies the full path of the process's executable into `buffer` (NUL-terminated where it fits);
  // returns the number of characters copied, 0 on failure (as GetModuleFileNameA).
  virtual std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) = 0;
  // Whether `byte` starts a double-byte character in the system's ANSI code page.
  virtual bool IsLeadByte(unsigned char byte) = 0;
};

}  // namespace platform
