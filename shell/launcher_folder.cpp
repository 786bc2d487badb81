// The folder the launcher's own executable sits in.
#include "shell/launcher_folder.h"

#include <algorithm>
#include <array>

namespace shell {

std::string FolderOf(std::string_view path, const std::function<bool(unsigned char)>& isLeadByte) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size();) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (isLeadByte(byte) && i + 1 < path.size()) {
      i += 2;  // a double-byte character: its trail byte may be 0x5C and is no separator
      continue;
    }
    if (byte == '\\') last = i;
    ++i;
  }
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

std::string LauncherFolder(platform::Process& process) {
  std::array<char, kMaxModulePath + 1> buffer{};
  // A result of the full buffer size means the path was cut; the folder is then taken from what
  // fits, an ancestor of the real one, and the shell reports the missing installer itself.
  const std::uint32_t length = std::min<std::uint32_t>(process.ModuleFileName(buffer.data(), kMaxModulePath), kMaxModulePath);
  return FolderOf(std::string_view(buffer.data(), length), [&](unsigned char b) { return process.IsLeadByte(b); });
}

}  // namespace shell
