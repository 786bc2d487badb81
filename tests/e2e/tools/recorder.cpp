// Stands in for an installer, a document viewer or a browser: appends one line saying how it was
// started to C:\record.log (its own path, its current directory and its arguments), then exits.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  char cwd[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string line = std::string("exe=") + self + "\tcwd=" + cwd;
  for (int i = 1; i < argc; ++i) line += std::string("\targ=") + argv[i];
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
