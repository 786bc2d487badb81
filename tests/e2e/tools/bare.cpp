// The smallest window program that paints a 616 x 448 client area like the launcher's: the yardstick the
// start-up benchmark measures the launcher against.
#include <windows.h>

namespace {

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
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
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
