// The hint's rest, time shown and return.
#include "ui/hint.h"

#include "ui/controls.h"

namespace ui {

void Hint::Start(int ms) {
  timing_ = true;
  if (host_.startTimer) host_.startTimer(ms);
}

void Hint::Stop() {
  if (!timing_) return;
  timing_ = false;
  if (host_.stopTimer) host_.stopTimer();
}

void Hint::Hide() {
  if (state_ == State::kShown && host_.hide) host_.hide();
}

void Hint::PointerAt(Control* hot) {
  Control* target = hot && !hot->Hint().empty() ? hot : nullptr;
  if (target != control_) {
    Hide();
    Stop();
    control_ = target;
    state_ = State::kIdle;
  }
  if (!control_) return;
  // Resting means not moving: each move on the control starts the rest again.
  if (state_ == State::kIdle || state_ == State::kResting) {
    state_ = State::kResting;
    Start(kRestMs);
  }
}

void Hint::Pressed() {
  if (!control_ || state_ == State::kHeld) return;
  Hide();
  Stop();
  state_ = State::kHeld;
}

void Hint::TimerFired() {
  if (!timing_) return;
  timing_ = false;
  if (state_ == State::kResting && control_) {
    state_ = State::kShown;
    if (host_.show) host_.show(*control_);
    Start(kShownMs);
  } else if (state_ == State::kShown) {
    Hide();
    state_ = State::kHeld;
  }
}

}  // namespace ui
