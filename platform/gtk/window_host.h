// The window host over GTK 3, cairo and pango: one fixed window drawn from the window model, with
// the banner's hint in a small popup of its own.
#pragma once

#include <gtk/gtk.h>

#include <exception>
#include <span>
#include <string>
#include <vector>

#include "platform/window_host.h"

namespace platform {

class GtkHost final : public WindowHost {
 public:
  // `icon` is the program's three-size icon file (.ico, 24-bit images).
  GtkHost(int* argc, char*** argv, std::span<const std::uint8_t> icon);
  ~GtkHost() override;
  GtkHost(const GtkHost&) = delete;
  GtkHost& operator=(const GtkHost&) = delete;

  ui::Size MeasureText(const ui::Font& font, std::string_view text) override;
  int Dpi() override;
  int Run(ui::Form& form, std::string_view title, const ErrorReport& report) override;

 private:
  // Signal handlers: each catches what a handler throws and reports it.
  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnHintDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnHintShow(gpointer self);
  static gboolean OnHintHide(gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);

  template <class Action>
  void Guarded(Action action) noexcept;
  void Report(std::exception_ptr error) noexcept;
  void Centre();
  // The banner's hint: shown after the pointer has rested on a control with a hint for 500 ms,
  // hidden after 2500 ms or when the pointer leaves it.
  void PointerMovedForHint(int rootX, int rootY);
  void ShowHint();
  void HideHint();
  void CancelHintTimer(guint& timer);

  ui::Form* form_ = nullptr;
  std::string title_;
  ErrorReport report_;
  GtkWidget* window_ = nullptr;
  GtkWidget* area_ = nullptr;
  GtkWidget* hint_ = nullptr;
  std::vector<GdkPixbuf*> icons_;
  PangoContext* measuring_ = nullptr;
  ui::Control* hintControl_ = nullptr;  // the control whose hint shows or waits to show
  bool hintArmed_ = true;
  bool hintShown_ = false;
  guint hintShowTimer_ = 0;
  guint hintHideTimer_ = 0;
  int pointerX_ = 0;
  int pointerY_ = 0;
  bool reporting_ = false;
};

}  // namespace platform
