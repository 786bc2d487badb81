// Reads the launcher's windows back through Win32 and prints key=value lines, and acts on them as
// the system or another program would.
// usage: peek [count|dpi|syscommand-close|syscommand-minimize|syscommand-restore|restore|close-all]
//        peek endsession main|owner 0|1     ask to end the session, then end it (1) or not (0)
//        peek start SHOW PROGRAM            start PROGRAM with show command SHOW, wait, return its code
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindLauncher() { return FindWindowA("TfrmMain", "Vantrel Setup"); }

void PrintWindow(const char* prefix, HWND w) {
  char text[256] = {};
  char cls[256] = {};
  GetWindowTextA(w, text, sizeof text);
  GetClassNameA(w, cls, sizeof cls);
  RECT r{};
  GetWindowRect(w, &r);
  RECT c{};
  GetClientRect(w, &c);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  std::printf("%s.caption=%s\n%s.class=%s\n", prefix, text, prefix, cls);
  std::printf("%s.style=%08lx\n%s.exstyle=%08lx\n", prefix, static_cast<unsigned long>(GetWindowLongA(w, GWL_STYLE)),
              prefix, static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)));
  std::printf("%s.window=%ld,%ld,%ld,%ld\n", prefix, r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::printf("%s.client=%ld,%ld\n%s.origin=%ld,%ld\n", prefix, c.right, c.bottom, prefix, origin.x, origin.y);
  std::printf("%s.visible=%d\n%s.enabled=%d\n", prefix, IsWindowVisible(w) ? 1 : 0, prefix, IsWindowEnabled(w) ? 1 : 0);
  std::printf("%s.iconic=%d\n%s.zoomed=%d\n", prefix, IsIconic(w) ? 1 : 0, prefix, IsZoomed(w) ? 1 : 0);
}

BOOL CALLBACK EachWindow(HWND w, LPARAM launcherProcess) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != static_cast<DWORD>(launcherProcess) || !IsWindowVisible(w)) return TRUE;
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  char text[256] = {};
  GetWindowTextA(w, text, sizeof text);
  RECT r{};
  GetWindowRect(w, &r);
  if (std::strcmp(cls, "tooltips_class32") == 0) {
    const COLORREF back = GetSysColor(COLOR_INFOBK);
    POINT cursor{};
    GetCursorPos(&cursor);
    std::printf("tooltip=%ld,%ld,%ld,%ld\ntooltip.infobk=%d,%d,%d\ntooltip.cursor=%ld,%ld\n", r.left, r.top,
                r.right - r.left, r.bottom - r.top, GetRValue(back), GetGValue(back), GetBValue(back), cursor.x, cursor.y);
  }
  if (std::strcmp(cls, "#32770") == 0) {
    std::printf("dialog.caption=%s\n", text);
    HWND owner = GetWindow(w, GW_OWNER);
    char ownerText[256] = {};
    GetWindowTextA(owner, ownerText, sizeof ownerText);
    std::printf("dialog.owner=%s\n", ownerText);
    for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char childClass[64] = {};
      char childText[512] = {};
      GetClassNameA(child, childClass, sizeof childClass);
      GetWindowTextA(child, childText, sizeof childText);
      if (std::strcmp(childClass, "Static") == 0 && childText[0]) std::printf("dialog.text=%s\n", childText);
      if (std::strcmp(childClass, "Button") == 0) std::printf("dialog.button=%s\n", childText);
      if (std::strcmp(childClass, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_ICON))
        std::printf("dialog.icon=1\n");
    }
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  const char* command = argc > 1 ? argv[1] : "";
  if (std::strcmp(command, "start") == 0 && argc > 3) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(std::atoi(argv[2]));
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(argv[3], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return 90;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 91;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
  }
  if (std::strcmp(command, "close-all") == 0) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "TfrmMain", nullptr); w; w = FindWindowExA(nullptr, w, "TfrmMain", nullptr))
      PostMessageA(w, WM_CLOSE, 0, 0);
    return 0;
  }
  if (std::strcmp(command, "dpi") == 0) {
    // The default font's text height at this density, for checking the scaling rule.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    HFONT font = CreateFontA(-MulDiv(11, dpi, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif");
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(screen, &tm);
    char face[64] = {};
    GetTextFaceA(screen, sizeof face, face);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    std::printf("dpi=%d\ntextheight=%ld\nface=%s\n", dpi, tm.tmHeight, face);
    return 0;
  }
  if (std::strcmp(command, "count") == 0) {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "TfrmMain", nullptr); w; w = FindWindowExA(nullptr, w, "TfrmMain", nullptr))
      count += IsWindowVisible(w) ? 1 : 0;
    std::printf("launchers=%d\n", count);
    return 0;
  }
  HWND launcher = FindLauncher();
  std::printf("found=%d\n", launcher ? 1 : 0);
  if (!launcher) return 1;
  HWND owner = GetWindow(launcher, GW_OWNER);
  if (std::strcmp(command, "syscommand-close") == 0) {
    PostMessageA(launcher, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (std::strcmp(command, "syscommand-minimize") == 0 || std::strcmp(command, "syscommand-restore") == 0) {
    PostMessageA(owner, WM_SYSCOMMAND, command[11] == 'm' ? SC_MINIMIZE : SC_RESTORE, 0);
    return 0;
  }
  if (std::strcmp(command, "restore") == 0) {
    ShowWindow(owner, SW_RESTORE);  // as a task switcher or an automation tool does
    return 0;
  }
  if (std::strcmp(command, "endsession") == 0 && argc > 3) {
    HWND target = std::strcmp(argv[2], "owner") == 0 ? owner : launcher;
    DWORD_PTR agreed = 0;
    SendMessageTimeoutA(target, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &agreed);
    std::printf("agreed=%d\n", agreed ? 1 : 0);
    std::fflush(stdout);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(target, WM_ENDSESSION, std::atoi(argv[3]) ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    return 0;
  }
  PrintWindow("main", launcher);
  std::printf("owner.exists=%d\n", owner ? 1 : 0);
  if (owner) PrintWindow("owner", owner);
  std::printf("desktop=%d,%d,%d,%d\n", GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  DWORD pid = 0;
  GetWindowThreadProcessId(launcher, &pid);
  HWND active = GetForegroundWindow();
  std::printf("foreground=%d\n", active == launcher ? 1 : 0);
  EnumWindows(EachWindow, static_cast<LPARAM>(pid));
  return 0;
}
