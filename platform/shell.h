// The shell operation that opens a document, a web address or a program, and the request it takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The window a request belongs to, as the host knows it; the shell shows its own messages over it.
using WindowOwner = std::uintptr_t;

enum class ShowMode { kNormal };  // the program's window in its normal state

// One request to open a document, a web address or a program, in the order the shell takes them.
struct ShellRequest {
  WindowOwner owner = 0;
  std::optional<std::string> verb;        // none: the file type's default action
  std::string file;                       // relative to `directory`, or a web address
  std::optional<std::string> parameters;  // always none here
  std::optional<std::string> directory;   // none: the process's current directory
  ShowMode show = ShowMode::kNormal;
  // The texts are in the system's ANSI code page, or UTF-8 where a path has no ANSI form.
  bool utf8 = false;
  friend bool operator==(const ShellRequest&, const ShellRequest&) = default;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Hands one request over without waiting for what it starts. Its outcome is not reported: whatever
  // goes wrong, the system shows itself.
  virtual void Execute(const ShellRequest& request) = 0;
};

}  // namespace platform
