// The start-up benchmark's marks on Windows, written out with kernel32 alone.
#include "platform/win32/startup_marks.h"

#include <windows.h>

#include "ui/marks.h"

namespace platform {

namespace {

// The marks of this run, on QueryPerformanceCounter's clock (under Wine the raw monotonic clock the
// benchmark times the spawn on), appended to the file VANTREL_MARKS names once the tooltip, the last
// step of start-up, is made.
// The benchmark build only: the release reads no environment variable.
struct Marks {
  struct Entry {
    LONGLONG ticks;
    const char* what;
    char detail[24];
  };
  Entry entries[32];
  int count = 0;
  LARGE_INTEGER frequency{};

  static void Take(const char* what, const char* detail) {
    Marks& m = Instance();
    if (m.count == 32) return;
    Entry& e = m.entries[m.count++];
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    e.ticks = now.QuadPart;
    e.what = what;
    lstrcpynA(e.detail, detail, sizeof e.detail);
    if (lstrcmpA(what, "tooltip made") == 0) m.Write();
  }
  static Marks& Instance() {
    static Marks marks;
    return marks;
  }
  void Write() {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VANTREL_MARKS", path, MAX_PATH)) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < count; ++i) {
      char line[128];
      const LONGLONG f = frequency.QuadPart;
      const long long ns = entries[i].ticks / f * 1000000000LL + entries[i].ticks % f * 1000000000LL / f;
      const int n = wsprintfA(line, "%s\t%s\t", entries[i].what, entries[i].detail);
      char digits[24];
      int d = 0;
      for (long long v = ns; d == 0 || v; v /= 10) digits[d++] = static_cast<char>('0' + v % 10);
      int at = n;
      while (d) line[at++] = digits[--d];
      line[at++] = '\n';
      DWORD written = 0;
      WriteFile(file, line, static_cast<DWORD>(at), &written, nullptr);
    }
    CloseHandle(file);
    count = 0;
  }
};

}  // namespace

void RecordStartupMarks() {
  marks::sink = Marks::Take;
  marks::Mark("entry");
}

}  // namespace platform
