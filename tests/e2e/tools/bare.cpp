// The smallest window program that paints a 616 x 448 client area like the launcher's: the yardstick the
// start-up benchmark measures the launcher against. With the argument "comctl32" it then also loads
// comctl32 from the system folder after its first paint and makes a tooltip control, as the launcher
// does, so the launcher's own cost can be told from the tooltip control's.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

constexpr UINT kAfterFirstPaint = WM_APP + 3;
bool withComctl32 = false;

void LoadComctl32(HWND owner) {
  char path[MAX_PATH + 16] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  lstrcatA(path, "\\comctl32.dll");
  const HMODULE comctl32 = LoadLibraryA(path);
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(comctl32, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (init && init(&controls))
    CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      // The wordmark's blue where the launcher's wordmark is, so both are seen painted alike.
      RECT r{130, 360, 505, 440};
      HBRUSH blue = CreateSolidBrush(RGB(0x1d, 0x5f, 0xa8));
      FillRect(dc, &r, blue);
      DeleteObject(blue);
      EndPaint(w, &ps);
      static bool posted = false;
      if (withComctl32 && !posted) {
        posted = true;
        PostMessageA(w, kAfterFirstPaint, 0, 0);
      }
      return 0;
    }
    case kAfterFirstPaint:
      LoadComctl32(w);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
  withComctl32 = std::strstr(arguments, "comctl32") != nullptr;
  WNDCLASSA c{};
  c.lpfnWndProc = Proc;
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.lpszClassName = "Bare";
  RegisterClassA(&c);
  RECT r{0, 0, 616, 448};
  AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "Bare", "Bare", WS_POPUP | WS_CAPTION | WS_SYSMENU, 201, 149,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  ShowWindow(w, show);
  UpdateWindow(w);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}
