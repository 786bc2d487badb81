// The window host over user32, gdi32 and comctl32: one tool window owned by a zero-size application
// window that carries the taskbar button, painted double-buffered from the window model.
#include "platform/win32/window_host.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/shell.h"
#include "ui/marks.h"
#include "ui/placement.h"

namespace platform {

namespace {

constexpr char kMainClass[] = "TfrmMain";
constexpr char kApplicationClass[] = "TApplication";
constexpr UINT kActivateOnce = WM_APP + 1;
constexpr UINT kPassFocus = WM_APP + 2;  // the taskbar window hands the focus on to the launcher window
constexpr UINT kAfterFirstPaint = WM_APP + 3;
constexpr UINT kInvoke = WM_APP + 4;  // a reader's default action on the control at wParam of the reading order
constexpr UINT_PTR kHintTimer = 1;
constexpr UINT_PTR kHintTool = 1;
constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_TOOLWINDOW;
constexpr int kMainIcon = 1;

ui::Rect FromRect(const RECT& r) { return ui::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }
// The one tracking tool the banner's hint shows in.
TOOLINFOA HintTool(HWND main) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every comctl32 version
  tool.hwnd = main;
  tool.uId = kHintTool;
  return tool;
}

ui::Point PointOf(LPARAM lParam) { return ui::Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

Win32Host::Win32Host(HINSTANCE instance, int showCommand) : instance_(instance), showCommand_(showCommand) {}

Win32Host::~Win32Host() {
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

HFONT Win32Host::FontFor(const ui::Font& font) {
  for (const auto& [key, handle] : fonts_)
    if (key == font) return handle.Get();
  ScopedFont created(CreateFontA(-font.height, 0, 0, 0, (font.style & ui::kBold) ? FW_BOLD : FW_NORMAL,
                                 (font.style & ui::kItalic) ? TRUE : FALSE, (font.style & ui::kUnderline) ? TRUE : FALSE,
                                 FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
  const HFONT handle = created.Get();
  fonts_.emplace_back(font, std::move(created));
  return handle;
}

ui::Size Win32Host::MeasureText(const ui::Font& font, std::string_view text) {
  ScopedGetDC screen(nullptr);
  ScopedSelectObject select(screen.Get(), FontFor(font));
  SIZE extent{};
  GetTextExtentPoint32A(screen.Get(), text.data(), static_cast<int>(text.size()), &extent);
  if (text.empty()) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.Get(), &metrics);
    extent.cy = metrics.tmHeight;
  }
  return ui::Size{extent.cx, extent.cy};
}

int Win32Host::Dpi() {
  ScopedGetDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

bool Win32Host::CreateWindows() {
  bigIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(kMainIcon), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(kMainIcon), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));

  // Both windows share the window procedure and the icons.
  auto registerClass = [this](const char* name, UINT style) {
    WNDCLASSEXA c{};
    c.cbSize = sizeof c;
    c.style = style;
    c.lpfnWndProc = WindowProc;
    c.hInstance = instance_;
    c.hIcon = bigIcon_;
    c.hIconSm = smallIcon_;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.lpszClassName = name;
    RegisterClassExA(&c);
  };
  registerClass(kApplicationClass, 0);
  registerClass(kMainClass, CS_DBLCLKS);  // the second press of a double-click arrives as such and clicks nothing

  // The application window: zero size, so never seen, but shown, so it has the taskbar button.
  application_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                 nullptr, instance_, this);
  if (!application_) return false;

  RECT outer{0, 0, form_->clientSize.width, form_->clientSize.height};
  AdjustWindowRectEx(&outer, kMainStyle, FALSE, kMainExStyle);
  main_ = CreateWindowExA(kMainExStyle, kMainClass, form_->caption.c_str(), kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          outer.right - outer.left, outer.bottom - outer.top, application_, nullptr, instance_, this);
  if (!main_) return false;
  form_->nativeHandle = reinterpret_cast<std::uintptr_t>(main_);
  form_->SetInvalidator([this](const ui::Rect& r) {
    const RECT rect = ToRect(r);
    InvalidateRect(main_, &rect, FALSE);
  });
  form_->onClose = [this] { PostMessageA(main_, WM_CLOSE, 0, 0); };
  form_->onEnabledChanged = [this](ui::Control& control) {
    if (main_) AnnounceStateChange(main_, *form_, control);
  };
  form_->hint.SetHost({[this](int ms) { SetTimer(main_, kHintTimer, static_cast<UINT>(ms), nullptr); },
                       [this] { KillTimer(main_, kHintTimer); },
                       [this](const ui::Control& control) { ShowHint(control); }, [this] { HideHint(); }});
  return true;
}

void Win32Host::AddTooltips() {
  // comctl32 is no known DLL: loaded by name it could come from the launcher's folder. It is loaded
  // from the system folder, and only now, after the first paint, so the window appears at once.
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const HMODULE comctl32 = LoadSystemLibrary("comctl32.dll");  // kept for the life of the process
  const auto init = Lookup<InitCommonControlsExFunction>(comctl32, "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (!init || !init(&controls)) return;
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_NOANIMATE | TTS_NOFADE,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance_,
                             nullptr);
  if (!tooltip_) return;
  // One tracking tool: when it shows and hides is the form's hint rule, not the control's own timing.
  TOOLINFOA tool = HintTool(main_);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.lpszText = const_cast<char*>("");
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Host::ShowHint(const ui::Control& control) {
  if (!tooltip_) return;
  TOOLINFOA tool = HintTool(main_);
  tool.lpszText = const_cast<char*>(control.Hint().c_str());
  SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  // At the pointer, moved down by the height of the pointer shape.
  POINT at{};
  GetCursorPos(&at);
  SendMessageA(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y + GetSystemMetrics(SM_CYCURSOR)));
  SendMessageA(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Win32Host::HideHint() {
  if (!tooltip_) return;
  TOOLINFOA tool = HintTool(main_);
  SendMessageA(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void Win32Host::ShowMain(int showCommand) {
  if (!shownOnce_) {
    shownOnce_ = true;
    RECT outer{};
    GetWindowRect(main_, &outer);
    const ui::Rect desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const ui::Point at = ui::CentreOn(desktop, {outer.right - outer.left, outer.bottom - outer.top});
    SetWindowPos(main_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(main_, showCommand);
  marks::Mark("shown");
  UpdateWindow(main_);
}

void Win32Host::ApplicationMinimised(bool minimised) {
  if (minimised == applicationMinimised_ || !main_) return;
  applicationMinimised_ = minimised;
  if (minimised) {
    mainMaximised_ = IsZoomed(main_) != FALSE;
    ShowWindow(main_, SW_HIDE);
    return;
  }
  // Back from the taskbar by any route: the system menu, a task switcher, another program's
  // ShowWindow. The window comes back as it was, centred the first time it is shown at all.
  if (!shownOnce_)
    ShowMain(SW_SHOWNORMAL);
  else
    ShowWindow(main_, mainMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(main_);
  SetActiveWindow(main_);
}

int Win32Host::Run(ui::Form& form, std::string_view title, const ErrorReport& report) {
  form_ = &form;
  title_ = std::string(title);
  report_ = report;
  if (!CreateWindows()) return 1;

  if (showCommand_ == SW_SHOWMINNOACTIVE) {
    // Starts minimised; the window appears when the user restores the application.
    ShowWindow(application_, SW_SHOWMINNOACTIVE);
  } else {
    // The window is shown and painted first; the taskbar window and the tooltip, which nothing
    // shows yet, follow right after the first paint.
    ShowMain(showCommand_ == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  }

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (IsWindow(application_)) DestroyWindow(application_);
  form_->SetInvalidator(nullptr);
  form_->onClose = nullptr;
  form_->onEnabledChanged = nullptr;
  form_->hint.SetHost({});
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32Host::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // Until CreateWindowExA has returned, the host does not know the window yet.
  if (!host || (window != host->main_ && window != host->application_))
    return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_QUERYENDSESSION:
      return TRUE;  // log-off and shut-down are agreed to at once: nothing is ever unsaved
    case WM_ENDSESSION:
      if (wParam) ExitProcess(0);  // the session ends: so does the launcher, now
      return 0;
    default:
      break;
  }
  // No exception leaves a window procedure: it is reported and the event loop goes on.
  try {
    return window == host->main_ ? host->HandleMain(message, wParam, lParam)
                                 : host->HandleApplication(message, wParam, lParam);
  } catch (...) {
    host->Report(std::current_exception());
    return 0;
  }
}

LRESULT Win32Host::HandleMain(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      const bool first = !afterFirstPaintPosted_;
      if (first) marks::Mark("paint start");
      {
        ScopedPaint paint(main_);
        Paint(paint.Get(), paint.Dirty());
      }
      if (first) {
        marks::Mark("paint end");
        afterFirstPaintPosted_ = true;
        PostMessageA(main_, kAfterFirstPaint, 0, 0);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT all{0, 0, form_->clientSize.width, form_->clientSize.height};
      Paint(reinterpret_cast<HDC>(wParam), all);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, main_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      form_->PointerMove(PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      form_->PointerLeave();
      return 0;
    case WM_LBUTTONDOWN:
      if (form_->PointerPress(PointOf(lParam))) SetCapture(main_);
      return 0;
    case WM_LBUTTONDBLCLK:
      form_->PointerDoubleClick(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == main_) {
        releasingCapture_ = true;  // our own release: the press stays armed for the click below
        ReleaseCapture();
        releasingCapture_ = false;
      }
      form_->PointerRelease(PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (!releasingCapture_) form_->PointerCancel();  // taken away: the press clicks nothing
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(main_, kActivateOnce, 0, 0);
      break;
    case kActivateOnce:
      form_->Activate();
      return 0;
    case WM_TIMER:
      if (wParam != kHintTimer) break;
      KillTimer(main_, kHintTimer);  // one shot: the form starts it again when it needs it
      form_->hint.TimerFired();
      return 0;
    case kAfterFirstPaint:
      if (!IsWindowVisible(application_)) ShowWindow(application_, SW_SHOWNOACTIVATE);
      if (!tooltip_) AddTooltips();
      marks::Mark("tooltip made");
      return 0;
    case WM_GETOBJECT:
      // Only the client area is the launcher's to describe; the window itself is the system's.
      if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) break;
      if (!accessibleTried_) {
        accessibleTried_ = true;
        if (const auto library = AccessibilityLibrary::Load()) accessible_ = AccessibleClient(main_, *form_, kInvoke, *library);
      }
      if (accessible_) return accessible_.Answer(wParam);
      break;
    case kInvoke:
      if (wParam < form_->readingOrder.size()) form_->Invoke(*form_->readingOrder[wParam].control);
      return 0;
    case WM_CLOSE:
      DestroyWindow(main_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      const HWND window = main_;
      accessible_ = AccessibleClient();  // a reader still holding the object finds it cut off
      main_ = nullptr;
      form_->nativeHandle = 0;
      return DefWindowProcA(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcA(main_, message, wParam, lParam);
}

LRESULT Win32Host::HandleApplication(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = DefWindowProcA(application_, message, wParam, lParam);
      ApplicationMinimised(IsIconic(application_) != FALSE);
      return result;
    }
    case WM_CLOSE:
      if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
      return 0;
    case WM_ACTIVATE:
      // The application window is never used itself: pass the focus on to the launcher window.
      if (LOWORD(wParam) != WA_INACTIVE && main_ && IsWindowVisible(main_) && IsWindowEnabled(main_))
        PostMessageA(application_, kPassFocus, 0, 0);
      break;
    case kPassFocus:
      if (main_ && IsWindowVisible(main_) && IsWindowEnabled(main_)) SetActiveWindow(main_);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(application_, message, wParam, lParam);
}

void Win32Host::Paint(HDC target, const RECT& dirty) {
  const ui::Rect area = FromRect(dirty);
  if (area.Empty()) return;
  // Draw into an off-screen bitmap, then copy it: nothing flickers. A large area goes in strips
  // through one small bitmap, so a full paint never touches a bitmap the size of the window (its
  // first touch alone would cost the first paint several milliseconds).
  constexpr int kStrip = 64;
  const int stripHeight = std::min(area.height, kStrip);
  ScopedMemoryDC memory(CreateCompatibleDC(target));
  ScopedBitmap buffer(CreateCompatibleBitmap(target, area.width, stripHeight));
  if (!memory || !buffer) return;
  ScopedSelectObject select(memory.Get(), buffer.Get());
  GdiCanvas canvas(memory.Get(), *this);
  for (int top = area.top; top < area.Bottom(); top += stripHeight) {
    const ui::Rect strip{area.left, top, area.width, std::min(stripHeight, area.Bottom() - top)};
    SetViewportOrgEx(memory.Get(), -strip.left, -strip.top, nullptr);
    form_->Paint(canvas, strip);
    SetViewportOrgEx(memory.Get(), 0, 0, nullptr);
    BitBlt(target, strip.left, strip.top, strip.width, strip.height, memory.Get(), 0, 0, SRCCOPY);
  }
}

void Win32Host::Report(std::exception_ptr error) noexcept {
  try {
    if (form_) form_->PointerCancel();
    ReleaseCapture();
    const auto report = report_ ? report_(error) : std::nullopt;
    if (!report) return;
    HWND owner = GetActiveWindow();
    if (!owner) owner = application_;
    // The application's other windows are disabled while the box is up.
    std::vector<HWND> disabled;
    for (HWND window : {application_, main_})
      if (window && window != owner && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabled.push_back(window);
      }
    MessageBoxA(owner, report->text.c_str(), report->caption.c_str(), MB_OK | MB_ICONSTOP);
    for (HWND window : disabled)
      if (IsWindow(window)) EnableWindow(window, TRUE);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
  } catch (...) {
    // Nothing more can be reported.
  }
}

}  // namespace platform
