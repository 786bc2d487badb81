// Shell requests and process information over shell32 and kernel32.
#include "platform/shell_win.h"

#include <windows.h>

namespace platform {

namespace {

constexpr std::intptr_t SE_ERR_OOM_RESULT = 8;  // what ShellExecuteA answers when it cannot run at all

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// shell32 is large and drags in more libraries: it is loaded, from the system folder only, at the
// first request rather than at start-up, so that the window appears at once.
ShellExecuteAFunction LoadShellExecuteA() {
  char path[MAX_PATH + 16] = {};
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\shell32.dll");
  const HMODULE shell32 = LoadLibraryA(path);  // kept for the life of the process
  return shell32 ? reinterpret_cast<ShellExecuteAFunction>(reinterpret_cast<void*>(GetProcAddress(shell32, "ShellExecuteA")))
                 : nullptr;
}

}  // namespace

std::intptr_t WindowsShell::Execute(const shell::ShellOpenRequest& request) {
  static const ShellExecuteAFunction shellExecute = LoadShellExecuteA();
  if (!shellExecute) return SE_ERR_OOM_RESULT;
  // ShellExecuteA succeeds with a result above 32; the caller decides what to do with it.
  return reinterpret_cast<std::intptr_t>(shellExecute(reinterpret_cast<HWND>(request.owner), OrNull(request.verb),
                                                      request.file.c_str(), OrNull(request.parameters),
                                                      OrNull(request.directory), request.show));
}

std::uint32_t WindowsProcess::ModuleFileName(char* buffer, std::uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

bool WindowsProcess::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace platform
