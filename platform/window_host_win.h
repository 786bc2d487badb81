// The window host over user32, gdi32 and comctl32.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/scoped_win.h"
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
  int Run(ui::Form& form, std::string_view title) override;

  HFONT FontFor(const ui::Font& font);

 private:
  static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMain(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleApplication(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateWindows();
  void ShowMain(int showCommand);
  void Paint(HDC target, const RECT& dirty);
  void AddTooltips();
  // The application's default error report; never throws.
  void Report(std::exception_ptr error) noexcept;

  HINSTANCE instance_;
  int showCommand_;
  std::string title_;
  ui::Form* form_ = nullptr;
  HWND application_ = nullptr;
  HWND main_ = nullptr;
  HWND tooltip_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool tracking_ = false;
  bool releasingCapture_ = false;
  bool centred_ = false;
  bool afterFirstPaintPosted_ = false;
  std::vector<std::pair<ui::Font, ScopedFont>> fonts_;
};

}  // namespace platform
