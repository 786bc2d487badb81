// The hint of a control (the banner's tooltip) as one rule for every host: it shows once the pointer
// has rested on the control for 500 ms, hides after 2500 ms, on a press or when the pointer leaves
// the control, and once it has hidden by itself or been put away by a press it does not show again
// until the pointer has left its control and come back. The host runs one timer and shows or hides
// its popup when told.
#pragma once

#include <functional>

namespace ui {

class Control;

class Hint {
 public:
  static constexpr int kRestMs = 500;
  static constexpr int kShownMs = 2500;

  struct Host {
    std::function<void(int ms)> startTimer;  // starts the one timer, replacing a running one
    std::function<void()> stopTimer;
    std::function<void(const Control&)> show;  // the control's hint below the pointer
    std::function<void()> hide;
  };
  void SetHost(Host host) { host_ = std::move(host); }

  // The control now under the pointer (null for none), after every move, leave and release.
  void PointerAt(Control* hot);
  // A press anywhere puts a shown hint away, and one still waiting to show.
  void Pressed();
  // The host's timer has run out (once for each start).
  void TimerFired();

 private:
  enum class State { kIdle, kResting, kShown, kHeld };
  void Start(int ms);
  void Stop();
  void Hide();

  Host host_;
  Control* control_ = nullptr;  // the control with a hint under the pointer
  State state_ = State::kIdle;
  bool timing_ = false;
};

}  // namespace ui
