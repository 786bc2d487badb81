// The folder the launcher's own executable sits in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/process.h"

namespace shell {

inline constexpr std::uint32_t kFirstPathBuffer = 260;   // MAX_PATH: enough for almost every path
inline constexpr std::uint32_t kLongestPath = 32768;     // the longest path the system can name

// Everything before the last `separator` of `path`, never taking the second byte of a double-byte
// character for one; empty when there is none. E:\Launch.exe gives E: (no trailing separator).
std::string FolderOf(std::string_view path, char separator, const std::function<bool(unsigned char)>& isLeadByte);

// The whole path that a GetModuleFileName-style `read` gives, growing the buffer while the result
// fills it (the sign that the path was cut), up to `limit`; nothing when the call fails or the path
// does not fit even then.
std::optional<std::string> WholePath(const std::function<std::uint32_t(char*, std::uint32_t)>& read,
                                     std::uint32_t limit);

// The launcher's folder as the shell takes it: in the ANSI code page, or in UTF-8 when the ANSI
// form of the path would name another folder (a character outside the code page).
struct LauncherFolderText {
  std::string path;
  bool utf8 = false;
};

// The folder of the running executable, from its whole module file name; nothing when no whole
// path can be had, for a folder cut from a shortened path would be an ancestor of the real one.
std::optional<LauncherFolderText> LauncherFolder(platform::Process& process);

}  // namespace shell
