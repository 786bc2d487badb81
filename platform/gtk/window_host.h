// The window host over GTK 3, cairo and pango: one fixed window drawn from the window model, with
// the banner's hint in a small popup of its own.
#pragma once

#include <gtk/gtk.h>

#include <exception>
#include <span>
#include <string>
#include <vector>

#include "platform/gtk/accessible.h"
#include "platform/window_host.h"

namespace platform {

class GtkHost final : public WindowHost {
 public:
  // `icon` is the program's three-size icon file (.ico, 24-bit images).
  explicit GtkHost(std::span<const std::uint8_t> icon);
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
  static gboolean OnHintTimer(gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);

  template <class Action>
  void Guarded(Action action) noexcept;
  void Report(std::exception_ptr error) noexcept;
  void Centre();
  // A reader's default action, run from the main loop as a click is.
  void QueueInvoke(std::size_t spoken);
  // The banner's hint, as the form's hint rule asks: one timer, a popup below the pointer.
  void StartHintTimer(int ms);
  void StopHintTimer();
  void ShowHint(const ui::Control& control);
  void HideHint();

  ui::Form* form_ = nullptr;
  ErrorReport report_;
  GtkWidget* window_ = nullptr;
  GtkWidget* area_ = nullptr;
  GtkWidget* hint_ = nullptr;
  std::vector<GdkPixbuf*> icons_;
  PangoContext* measuring_ = nullptr;
  std::string hintText_;
  guint hintTimer_ = 0;
  int pointerX_ = 0;
  int pointerY_ = 0;
  bool reporting_ = false;
  bool trimmed_ = false;
  AccessibleModel accessible_;
};

}  // namespace platform
