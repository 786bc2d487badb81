// Shell requests, process information and the DLL search order over shell32, ole32 and kernel32.
#pragma once

#include <windows.h>

#include "platform/process.h"
#include "platform/shell.h"

namespace platform {

// Takes the application's folder and the current directory out of the search for every DLL loaded
// by name from here on, so that a DLL planted beside the launcher is never run. Call first thing.
void RestrictDllSearch();

// A DLL of the system folder, loaded by its full path and kept for the life of the process; null
// when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// The entry point `name` of `module` as a `Function`, or null (a null module included).
template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Carries out requests through ShellExecuteA, or ShellExecuteW for UTF-8 texts. shell32 and ole32
// are loaded from the system folder at the first request rather than at start-up, so that the
// window appears at once; COM is started then, on this thread, as the shell's handlers may need it.
class WindowsShell final : public Shell {
 public:
  WindowsShell() = default;
  ~WindowsShell() override;
  WindowsShell(const WindowsShell&) = delete;
  WindowsShell& operator=(const WindowsShell&) = delete;

  void Execute(const ShellRequest& request) override;

 private:
  using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  using ShellExecuteWFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  using CoUninitializeFunction = void(WINAPI*)();

  void Prepare();

  bool prepared_ = false;
  ShellExecuteAFunction shellExecuteA_ = nullptr;
  ShellExecuteWFunction shellExecuteW_ = nullptr;
  CoUninitializeFunction coUninitialize_ = nullptr;  // set while COM is started on this thread
};

class WindowsProcess final : public Process {
 public:
  std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override;
  std::uint32_t ModuleFileNameUtf8(char* buffer, std::uint32_t size) override;
  bool AnsiNamesSame(std::string_view ansi, std::string_view utf8) override;
  bool IsLeadByte(unsigned char byte) override;
  char Separator() override { return '\\'; }
};

}  // namespace platform
