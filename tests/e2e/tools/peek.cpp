// Reads the launcher's windows back through Win32 and prints key=value lines, and acts on them as
// the system or another program would.
// usage: peek [count|dpi|syscommand-close|syscommand-minimize|syscommand-restore|restore|close-all]
//        peek endsession main|owner 0|1     ask to end the session, then end it (1) or not (0)
//        peek start SHOW PROGRAM            start PROGRAM with show command SHOW, wait, return its code
//        peek a11y [hit X Y | do ID | gone]... list the client area's accessible children as a reader does,
//                                           then hit-test screen points, invoke default actions, or
//                                           wait for the window to go and ask the object once more
//        peek listen SECONDS                print the state changes readers are told of, from now on
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

std::string Narrow(BSTR text) {
  if (!text) return "";
  char buffer[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  SysFreeString(text);
  return buffer;
}

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// One line a child: a11y.ID=name|role|state|left,top,width,height|default action (or its HRESULT).
int Accessibility(HWND launcher, int argc, char** argv) {
  IAccessible* client = nullptr;
  const HRESULT got = AccessibleObjectFromWindow(launcher, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&client));
  std::printf("a11y.object=%08lx\n", static_cast<unsigned long>(got));
  if (FAILED(got) || !client) return 2;
  LONG count = 0;
  client->get_accChildCount(&count);
  std::printf("a11y.count=%ld\n", count);
  for (LONG id = 0; id <= count; ++id) {
    BSTR name = nullptr;
    client->get_accName(Child(id), &name);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    client->get_accRole(Child(id), &role);
    client->get_accState(Child(id), &state);
    LONG x = 0, y = 0, w = 0, h = 0;
    client->accLocation(&x, &y, &w, &h, Child(id));
    BSTR action = nullptr;
    const HRESULT hasAction = client->get_accDefaultAction(Child(id), &action);
    const std::string actionText = SUCCEEDED(hasAction) ? Narrow(action) : "";
    std::printf("a11y.%ld=%s|%ld|%lx|%ld,%ld,%ld,%ld|%s", id, Narrow(name).c_str(), role.lVal, state.lVal, x, y, w, h,
                actionText.c_str());
    if (FAILED(hasAction)) std::printf("%08lx", static_cast<unsigned long>(hasAction));
    std::printf("\n");
  }
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "hit") == 0 && i + 2 < argc) {
      VARIANT hit;
      VariantInit(&hit);
      const HRESULT hr = client->accHitTest(std::atol(argv[i + 1]), std::atol(argv[i + 2]), &hit);
      std::printf("hit.%s,%s=%ld|%08lx\n", argv[i + 1], argv[i + 2], hit.vt == VT_I4 ? hit.lVal : -1L,
                  static_cast<unsigned long>(hr));
      i += 2;
    } else if (std::strcmp(argv[i], "do") == 0 && i + 1 < argc) {
      const HRESULT hr = client->accDoDefaultAction(Child(std::atol(argv[++i])));
      std::printf("do.%s=%08lx\n", argv[i], static_cast<unsigned long>(hr));
    } else if (std::strcmp(argv[i], "gone") == 0) {  // once the window has gone, the object answers no more
      for (int wait = 0; wait < 200 && IsWindow(launcher); ++wait) Sleep(50);
      LONG left = 0;
      std::printf("gone=%d|%08lx\n", IsWindow(launcher) ? 0 : 1, static_cast<unsigned long>(client->get_accChildCount(&left)));
    }
  }
  std::fflush(stdout);
  client->Release();
  return 0;
}

void CALLBACK StateChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (std::strcmp(cls, "TfrmMain") != 0) return;
  IAccessible* accessible = nullptr;
  VARIANT which;
  VariantInit(&which);
  VARIANT state;
  VariantInit(&state);
  if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &accessible, &which)) && accessible) {
    accessible->get_accState(which, &state);
    accessible->Release();
  }
  std::printf("statechange=%ld|%ld|%lx\n", object, child, state.vt == VT_I4 ? state.lVal : -1L);
  std::fflush(stdout);
}

int Listen(int seconds) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, StateChanged, 0, 0,
                                       WINEVENT_OUTOFCONTEXT);
  std::printf("listening=%d\n", hook ? 1 : 0);
  std::fflush(stdout);
  if (!hook) return 2;
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) DispatchMessageA(&message);
  UnhookWinEvent(hook);
  return 0;
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
  CoInitialize(nullptr);
  if (std::strcmp(command, "listen") == 0 && argc > 2) return Listen(std::atoi(argv[2]));
  HWND launcher = FindLauncher();
  std::printf("found=%d\n", launcher ? 1 : 0);
  if (!launcher) return 1;
  if (std::strcmp(command, "a11y") == 0) return Accessibility(launcher, argc, argv);
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
