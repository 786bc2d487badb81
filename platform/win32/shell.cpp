// Shell requests, process information and the DLL search order over shell32, ole32 and kernel32.
#include "platform/win32/shell.h"

#include <objbase.h>

#include <string>

#include "shell/launcher_folder.h"

namespace platform {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32, newer than the headers' target

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

int ShowCommand(ShowMode show) {
  switch (show) {
    case ShowMode::kNormal: break;
  }
  return SW_SHOWNORMAL;
}

std::wstring Wide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
  return out;
}

std::optional<std::wstring> WideOrNone(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return Wide(*text, CP_UTF8);
}

const wchar_t* OrNull(const std::optional<std::wstring>& text) { return text ? text->c_str() : nullptr; }

// The whole module path in UTF-16, or empty.
std::wstring WideModulePath() {
  std::wstring path(shell::kFirstPathBuffer, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= shell::kLongestPath) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

void RestrictDllSearch() {
  const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  // Windows 8 and later, and Vista or 7 with update KB2533623: only the system folder is searched.
  // The test-only fallback twin skips this, to run the branch of systems without it under Wine.
#ifndef VANTREL_TEST_DLL_SEARCH_FALLBACK
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  if (const auto setDefault = Lookup<SetDefaultDllDirectoriesFunction>(kernel32, "SetDefaultDllDirectories");
      setDefault && setDefault(kSearchSystem32))
    return;
#endif
  // Windows XP SP1 and later: "" takes the current directory out of the search; the application's
  // folder stays first, which is why every DLL loaded here is named by its full system path.
  using SetDllDirectoryAFunction = BOOL(WINAPI*)(LPCSTR);
  if (const auto setDirectory = Lookup<SetDllDirectoryAFunction>(kernel32, "SetDllDirectoryA")) setDirectory("");
}

HMODULE LoadSystemLibrary(const char* name) {
  char path[MAX_PATH + 32] = {};
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || lstrlenA(name) > 24) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  return LoadLibraryA(path);
}

WindowsShell::~WindowsShell() {
  if (coUninitialize_) coUninitialize_();
}

void WindowsShell::Prepare() {
  prepared_ = true;
  // COM first, apartment-threaded without OLE1 DDE, as the shell asks of its callers.
  const HMODULE ole32 = LoadSystemLibrary("ole32.dll");
  using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
  if (const auto coInitializeEx = Lookup<CoInitializeExFunction>(ole32, "CoInitializeEx");
      coInitializeEx && SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    coUninitialize_ = Lookup<CoUninitializeFunction>(ole32, "CoUninitialize");
  const HMODULE shell32 = LoadSystemLibrary("shell32.dll");
  shellExecuteA_ = Lookup<ShellExecuteAFunction>(shell32, "ShellExecuteA");
  shellExecuteW_ = Lookup<ShellExecuteWFunction>(shell32, "ShellExecuteW");
}

void WindowsShell::Execute(const ShellRequest& request) {
  if (!prepared_) Prepare();
  const auto owner = reinterpret_cast<HWND>(request.owner);
  // ShellExecute succeeds with a result above 32. The result is ignored on purpose: the shell shows
  // its own messages, owned by the launcher window, and the launcher stays as it was.
  if (!request.utf8) {
    if (shellExecuteA_)
      shellExecuteA_(owner, OrNull(request.verb), request.file.c_str(), OrNull(request.parameters),
                     OrNull(request.directory), ShowCommand(request.show));
    return;
  }
  if (!shellExecuteW_) return;
  const auto verb = WideOrNone(request.verb);
  const std::wstring file = Wide(request.file, CP_UTF8);
  const auto parameters = WideOrNone(request.parameters);
  const auto directory = WideOrNone(request.directory);
  shellExecuteW_(owner, OrNull(verb), file.c_str(), OrNull(parameters), OrNull(directory), ShowCommand(request.show));
}

std::uint32_t WindowsProcess::ModuleFileName(char* buffer, std::uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

std::uint32_t WindowsProcess::ModuleFileNameUtf8(char* buffer, std::uint32_t size) {
  const std::wstring path = WideModulePath();
  if (path.empty() || size == 0) return 0;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return 0;
  if (static_cast<std::uint32_t>(bytes) >= size) return size;  // does not fit with its NUL: cut
  WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), buffer, bytes, nullptr, nullptr);
  buffer[bytes] = '\0';
  return static_cast<std::uint32_t>(bytes);
}

bool WindowsProcess::AnsiNamesSame(std::string_view ansi, std::string_view utf8) {
  return Wide(ansi, CP_ACP) == Wide(utf8, CP_UTF8);
}

bool WindowsProcess::IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace platform
