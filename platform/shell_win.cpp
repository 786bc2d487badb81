// Shell requests and process information over shell32 and kernel32.
#include "platform/shell_win.h"

#include <windows.h>
#include <shellapi.h>

namespace platform {

namespace {

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

std::intptr_t WindowsShell::Execute(const shell::ShellOpenRequest& request) {
  // ShellExecuteA succeeds with a result above 32; the caller decides what to do with it.
  return reinterpret_cast<std::intptr_t>(ShellExecuteA(reinterpret_cast<HWND>(request.owner), OrNull(request.verb),
                                                       request.file.c_str(), OrNull(request.parameters),
                                                       OrNull(request.directory), request.show));
}

std::uint32_t WindowsProcess::ModuleFileName(char* buffer, std::uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

bool WindowsProcess::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace platform
