// What the launcher asks about its own process: where its executable is, and the code page's
// double-byte lead bytes.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

class Process {
 public:
  virtual ~Process() = default;
  // Copies the full path of the process's executable into `buffer` in the system's ANSI code page;
  // returns the number of characters copied. A result equal to `size` means the path was cut (with
  // or without a terminating NUL, as Windows XP leaves it); 0 means failure.
  virtual std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) = 0;
  // The same path in UTF-8, by the same rules (counted in bytes).
  virtual std::uint32_t ModuleFileNameUtf8(char* buffer, std::uint32_t size) = 0;
  // Whether the ANSI form of the path names the same file as its UTF-8 form: false when a character
  // of the real name has no form in the code page and was replaced on the way.
  virtual bool AnsiNamesSame(std::string_view ansi, std::string_view utf8) = 0;
  // Whether `byte` starts a double-byte character in the system's ANSI code page, whose second byte
  // is then never a separator.
  virtual bool IsLeadByte(unsigned char byte) = 0;
  // The character that separates the folders of a path.
  virtual char Separator() = 0;
};

}  // namespace platform
