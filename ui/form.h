// The window model: a client area holding controls, pointer tracking and the click rule.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/hint.h"

namespace ui {

class Form {
 public:
  explicit Form(TextMeasurer& measurer) : measurer_(measurer) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string caption;
  Size clientSize;
  std::uintptr_t nativeHandle = 0;  // the platform's window, once the host has made it
  Color color = kWhite;

  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
  }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  Control* Find(std::string_view name) const;
  // The control under `p`, disabled ones included; later controls lie over earlier ones.
  Control* ControlAt(Point p) const;

  // Paints the background and every control that meets `dirty`.
  void Paint(Canvas& canvas, const Rect& dirty);

  // Pointer input in client coordinates. On a move, the control under the pointer is found; when it
  // differs from the previous one, the previous one gets a leave, then the new one an enter. While the
  // button pressed on a control is held, that control stays the one under the pointer.
  void PointerMove(Point p);
  void PointerLeave();
  // A press on an enabled control arms its click and returns true (the host captures the pointer);
  // a press elsewhere or on a disabled control goes to the window, which ignores it.
  bool PointerPress(Point p);
  // The click runs when the button is released inside the armed control's current bounds.
  void PointerRelease(Point p);
  // The double-press event of a double-click cancels what a press just before it armed, so the
  // release that follows clicks nothing and a double-click clicks once, whether the platform sends
  // it instead of the second press (Win32) or right after it (GTK).
  void PointerDoubleClick(Point) { pressed_ = nullptr; }
  // The press ended without a release reaching the window (capture taken away): no click.
  void PointerCancel() { pressed_ = nullptr; }
  Control* Hot() const { return hot_; }

  // A screen reader's default action on `control`: what a click on it runs, if it is enabled; a
  // disabled control refuses. Hosts queue it to their event loop, so it never runs inside a call of
  // the reader's. Returns whether the click ran.
  bool Invoke(Control& control);
  // Told when a control is really enabled or disabled, so a host can announce it.
  std::function<void(Control&)> onEnabledChanged;

  // The controls in the order a reader presents them, each with the name it speaks.
  struct Spoken {
    Control* control;
    std::string name;
  };
  std::vector<Spoken> readingOrder;
  // The place in the reading order of the control under `p`, or -1.
  int SpokenAt(Point p) const;

  // The hint of the control under the pointer; the host gives it a timer and a popup.
  Hint hint;

  // Runs onActivate the first time the window becomes active, never again.
  void Activate();
  std::function<void()> onActivate;

  // Asks the host to close the window.
  void Close() {
    if (onClose) onClose();
  }
  std::function<void()> onClose;

  void SetInvalidator(std::function<void(const Rect&)> invalidate) { invalidate_ = std::move(invalidate); }
  void Invalidate(const Rect& rect) {
    if (invalidate_ && !rect.Empty()) invalidate_(rect);
  }
  TextMeasurer& Measurer() { return measurer_; }

 private:
  void SetHot(Control* control);

  TextMeasurer& measurer_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::function<void(const Rect&)> invalidate_;
  Control* hot_ = nullptr;
  Control* pressed_ = nullptr;
  bool activated_ = false;
};

}  // namespace ui
