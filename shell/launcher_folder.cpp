// The folder the launcher's own executable sits in.
#include "shell/launcher_folder.h"

#include <algorithm>
#include <vector>

namespace shell {

std::string FolderOf(std::string_view path, char separator, const std::function<bool(unsigned char)>& isLeadByte) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size();) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (isLeadByte(byte) && i + 1 < path.size()) {
      i += 2;  // a double-byte character: its trail byte may be 0x5C and is no separator
      continue;
    }
    if (path[i] == separator) last = i;
    ++i;
  }
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

std::optional<std::string> WholePath(const std::function<std::uint32_t(char*, std::uint32_t)>& read,
                                     std::uint32_t limit) {
  for (std::uint32_t size = std::min(kFirstPathBuffer, limit);; size = std::min(size * 2, limit)) {
    std::vector<char> buffer(size + 1, '\0');
    const std::uint32_t length = read(buffer.data(), size);
    if (length == 0) return std::nullopt;
    if (length < size) return std::string(buffer.data(), length);
    if (size == limit) return std::nullopt;  // still cut at the longest path there is
  }
}

std::optional<LauncherFolderText> LauncherFolder(platform::Process& process) {
  const auto ansi = WholePath([&](char* b, std::uint32_t n) { return process.ModuleFileName(b, n); }, kLongestPath);
  if (!ansi) return std::nullopt;
  // A UTF-8 character takes at most three bytes for each UTF-16 unit of the system's path.
  const auto utf8 =
      WholePath([&](char* b, std::uint32_t n) { return process.ModuleFileNameUtf8(b, n); }, 3 * kLongestPath);
  if (utf8 && !process.AnsiNamesSame(*ansi, *utf8))
    return LauncherFolderText{FolderOf(*utf8, process.Separator(), [](unsigned char) { return false; }),
                              true};  // no ASCII byte is ever part of a UTF-8 sequence
  return LauncherFolderText{FolderOf(*ansi, process.Separator(), [&](unsigned char b) { return process.IsLeadByte(b); }),
                            false};
}

}  // namespace shell
