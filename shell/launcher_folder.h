// The folder the launcher's own executable sits in.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/process.h"

namespace shell {

inline constexpr unsigned kMaxModulePath = 260;

// Everything before the last backslash of `path`, never taking the second byte of a double-byte
// character for one; empty when there is none. E:\Launch.exe gives E: (no trailing separator).
std::string FolderOf(std::string_view path, const std::function<bool(unsigned char)>& isLeadByte);

// The folder of the running executable (its module file name, at most 260 characters).
std::string LauncherFolder(platform::Process& process);

}  // namespace shell
