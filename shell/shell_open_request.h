// One request to the shell to open a document, a web address or a program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace shell {

using WindowHandle = std::uintptr_t;

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

struct ShellOpenRequest {
  WindowHandle owner = 0;
  std::optional<std::string> verb;        // none: the file type's default action
  std::string file;                       // relative to `directory`, or a web address
  std::optional<std::string> parameters;  // always none here
  std::optional<std::string> directory;   // none: the process's current directory
  int show = kShowNormal;
  // The texts are in the system's ANSI code page, or UTF-8 where a path has no ANSI form.
  bool utf8 = false;
  friend bool operator==(const ShellOpenRequest&, const ShellOpenRequest&) = default;
};

}  // namespace shell
