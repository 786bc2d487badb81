// The window model: painting, pointer tracking and the click rule.
#include "ui/form.h"

namespace ui {

namespace {

bool Meets(const Rect& a, const Rect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

}  // namespace

Control* Form::Find(std::string_view name) const {
  for (const auto& c : controls_)
    if (c->Name() == name) return c.get();
  return nullptr;
}

Control* Form::ControlAt(Point p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->Bounds().Contains(p)) return it->get();
  return nullptr;
}

void Form::Paint(Canvas& canvas, const Rect& dirty) {
  canvas.FillRect(dirty, color);
  for (const auto& c : controls_)
    if (Meets(c->Bounds(), dirty)) c->Paint(canvas, dirty);
}

void Form::SetHot(Control* control) {
  if (control == hot_) return;
  Control* previous = hot_;
  hot_ = control;
  if (previous && previous->onMouseLeave) previous->onMouseLeave(*previous);
  if (control && control->onMouseEnter) control->onMouseEnter(*control);
}

void Form::PointerMove(Point p) {
  SetHot(pressed_ ? pressed_ : ControlAt(p));
  hint.PointerAt(hot_);
}

void Form::PointerLeave() {
  if (!pressed_) SetHot(nullptr);
  hint.PointerAt(hot_);
}

bool Form::PointerPress(Point p) {
  hint.Pressed();
  Control* target = ControlAt(p);
  if (!target || !target->Enabled()) return false;
  pressed_ = target;
  SetHot(target);
  return true;
}

void Form::PointerRelease(Point p) {
  Control* armed = pressed_;
  pressed_ = nullptr;
  if (!armed) return;
  const bool inside = armed->Bounds().Contains(p);
  const bool inWindow = Rect{0, 0, clientSize.width, clientSize.height}.Contains(p);
  SetHot(inWindow ? ControlAt(p) : nullptr);
  hint.PointerAt(hot_);
  if (inside && armed->onClick) armed->onClick(*armed);
}

bool Form::Invoke(Control& control) {
  if (!control.Enabled()) return false;
  if (control.onClick) control.onClick(control);
  return true;
}

int Form::SpokenAt(Point p) const {
  const Control* control = ControlAt(p);
  for (std::size_t i = 0; i < readingOrder.size(); ++i)
    if (readingOrder[i].control == control) return static_cast<int>(i);
  return -1;
}

void Form::Activate() {
  if (activated_) return;
  activated_ = true;
  if (onActivate) onActivate();
}

}  // namespace ui
