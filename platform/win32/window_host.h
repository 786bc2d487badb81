// The window host over user32 and gdi32, with comctl32's tooltip loaded after the first paint.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/accessible.h"
#include "platform/win32/scoped.h"
#include "platform/window_host.h"

namespace platform {

class Win32Host final : public WindowHost {
 public:
  Win32Host(HINSTANCE instance, int showCommand);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  ui::Size MeasureText(const ui::Font& font, std::string_view text) override;
  int Dpi() override;
  int Run(ui::Form& form, std::string_view title, const ErrorReport& report) override;

  HFONT FontFor(const ui::Font& font);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMain(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleApplication(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateWindows();
  void ShowMain(int showCommand);
  // The taskbar window left or entered the minimised state: the launcher window follows it.
  void ApplicationMinimised(bool minimised);
  void Paint(HDC target, const RECT& dirty);
  void AddTooltips();
  void ShowHint(const ui::Control& control);
  void HideHint();
  // Shows the application's error report for `error`; never throws.
  void Report(std::exception_ptr error) noexcept;

  HINSTANCE instance_;
  int showCommand_;
  std::string title_;
  ErrorReport report_;
  ui::Form* form_ = nullptr;
  HWND application_ = nullptr;
  HWND main_ = nullptr;
  HWND tooltip_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool tracking_ = false;
  bool releasingCapture_ = false;
  bool shownOnce_ = false;
  bool applicationMinimised_ = false;
  bool mainMaximised_ = false;  // as it was when the taskbar window was minimised
  bool afterFirstPaintPosted_ = false;
  std::vector<std::pair<ui::Font, ScopedFont>> fonts_;
  AccessibleClient accessible_;  // made when a screen reader first asks for it
  bool accessibleTried_ = false;
};

}  // namespace platform
