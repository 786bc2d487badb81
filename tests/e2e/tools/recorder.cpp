// Stands in for an installer, a document viewer or a browser: appends one line saying how it was
// started to C:\record.log (its own path, its current directory and its arguments), then exits.
// Everything is read with the wide calls, whole, and written as UTF-8, so a folder outside the
// ANSI code page is recorded as it is.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring ModulePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

std::wstring CurrentDirectory() {
  std::wstring path(GetCurrentDirectoryW(0, nullptr), L'\0');
  path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data()));
  return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string line = "exe=" + Utf8(ModulePath()) + "\tcwd=" + Utf8(CurrentDirectory());
  for (int i = 1; i < argc; ++i) line += "\targ=" + Utf8(argv[i]);
  line += "\n";
  // Several recorders may start at once: retry while another one has the log open.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE log = CreateFileA("C:\\record.log", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(log);
      return 0;
    }
    Sleep(10);
  }
  return 1;
}
