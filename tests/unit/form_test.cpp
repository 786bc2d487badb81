// The window model: pointer tracking, the click rule, labels that fit their captions, activation.
#include <gtest/gtest.h>

#include "fakes.h"
#include "ui/form.h"

namespace {

// A form with two adjacent labels and a disabled one, logging every event as "enter a" and so on.
struct Board {
  Board() {
    form.clientSize = {300, 200};
    a = &AddLabel("a", {10, 10}, "aaaa");    // 28 x 20 at 7 px a character
    b = &AddLabel("b", {38, 10}, "bbbbbb");  // adjacent to a on its right
    off = &AddLabel("off", {10, 100}, "disabled");
    off->SetEnabled(false);
    form.SetInvalidator([this](const ui::Rect& r) { invalidated.push_back(r); });
  }
  Board(const Board&) = delete;
  ui::Label& AddLabel(const char* name, ui::Point at, const char* caption) {
    ui::Label& l = form.Add<ui::Label>(name, ui::Rect{at.x, at.y, 1, 1}, caption, ui::Font{"MS Sans Serif", 16},
                                       ui::kBlack, ui::kWhite);
    l.onMouseEnter = [this](ui::Control& c) { log.push_back("enter " + c.Name()); };
    l.onMouseLeave = [this](ui::Control& c) { log.push_back("leave " + c.Name()); };
    l.onClick = [this](ui::Control& c) { log.push_back("click " + c.Name()); };
    return l;
  }
  std::string Log() const {
    std::string s;
    for (const auto& e : log) s += (s.empty() ? "" : ", ") + e;
    return s;
  }

  fakes::Measurer measurer;
  ui::Form form{measurer};
  ui::Label* a = nullptr;
  ui::Label* b = nullptr;
  ui::Label* off = nullptr;
  std::vector<std::string> log;
  std::vector<ui::Rect> invalidated;
};

class Window : public ::testing::Test, public Board {};

struct Step {
  enum Kind { kMove, kLeave, kPress, kRelease, kDouble, kTimer } kind;
  ui::Point at{};
};

void Replay(ui::Form& form, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    switch (s.kind) {
      case Step::kMove: form.PointerMove(s.at); break;
      case Step::kLeave: form.PointerLeave(); break;
      case Step::kPress: form.PointerPress(s.at); break;
      case Step::kRelease: form.PointerRelease(s.at); break;
      case Step::kDouble: form.PointerDoubleClick(s.at); break;
      case Step::kTimer: form.hint.TimerFired(); break;
    }
  }
}

TEST(Tracking, PointerSequencesSendLeaveBeforeEnter) {
  using enum Step::Kind;
  struct Row {
    const char* what;
    std::vector<Step> steps;
    const char* want;
  };
  const Row rows[] = {
      {"enter and leave", {{kMove, {12, 12}}, {kMove, {12, 50}}}, "enter a, leave a"},
      {"moves inside send nothing more", {{kMove, {12, 12}}, {kMove, {20, 15}}, {kMove, {30, 29}}}, "enter a"},
      {"adjacent controls", {{kMove, {37, 12}}, {kMove, {38, 12}}}, "enter a, leave a, enter b"},
      {"leaving the window", {{kMove, {12, 12}}, {kLeave}}, "enter a, leave a"},
      {"disabled controls are tracked too", {{kMove, {12, 101}}, {kMove, {0, 0}}}, "enter off, leave off"},
      {"click", {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {13, 13}}}, "enter a, click a"},
      {"release outside the label clicks nothing",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {12, 50}}},
       "enter a, leave a"},
      {"a release on the first column past a label clicks nothing (it is the next label's)",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {38, 12}}},
       "enter a, leave a, enter b"},
      {"a release on the first row below a label clicks nothing",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {12, 30}}},
       "enter a, leave a"},
      {"release on another label clicks neither",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {40, 12}}},
       "enter a, leave a, enter b"},
      {"a held button keeps the pressed label under the pointer",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kMove, {40, 12}}, {kLeave}, {kMove, {12, 12}}, {kRelease, {12, 12}}},
       "enter a, click a"},
      {"held, moved off and released elsewhere",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kMove, {200, 150}}, {kRelease, {200, 150}}},
       "enter a, leave a"},
      {"released outside the window", {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {-5, 400}}}, "enter a, leave a"},
      {"a double-click clicks once",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {12, 12}}, {kDouble, {12, 12}}, {kRelease, {12, 12}}},
       "enter a, click a"},
      {"a double-click in GTK's order (press, release, press, double-press, release) clicks once",
       {{kMove, {12, 12}}, {kPress, {12, 12}}, {kRelease, {12, 12}}, {kPress, {12, 12}}, {kDouble, {12, 12}},
        {kRelease, {12, 12}}},
       "enter a, click a"},
      {"a press on a disabled label goes to the window",
       {{kMove, {12, 101}}, {kPress, {12, 101}}, {kRelease, {12, 101}}},
       "enter off"},
      {"a press on the background arms nothing", {{kPress, {200, 150}}, {kMove, {12, 12}}, {kRelease, {12, 12}}}, "enter a"},
  };
  for (const Row& r : rows) {
    Board board;
    Replay(board.form, r.steps);
    EXPECT_EQ(board.Log(), r.want) << r.what;
  }
}

TEST(Hint, ShowsAfterARestHidesAfterItsTimeAndWaitsForThePointerToLeave) {
  using enum Step::Kind;
  struct Row {
    const char* what;
    std::vector<Step> steps;
    const char* want;
  };
  // Label a carries the hint; "timer N", "stop", "show a" and "hide" are what the host is told, and
  // kTimer is the host's timer running out.
  const Row rows[] = {
      {"shown after the rest, hidden after its time, held while the pointer stays",
       {{kMove, {12, 12}}, {kTimer}, {kTimer}, {kMove, {14, 13}}, {kTimer}},
       "enter a, timer 500, show a, timer 2500, hide"},
      {"each move on the control starts the rest again",
       {{kMove, {12, 12}}, {kMove, {14, 13}}, {kTimer}},
       "enter a, timer 500, timer 500, show a, timer 2500"},
      {"back once the pointer has left and come back",
       {{kMove, {12, 12}}, {kTimer}, {kTimer}, {kMove, {12, 50}}, {kMove, {12, 12}}, {kTimer}},
       "enter a, timer 500, show a, timer 2500, hide, leave a, enter a, timer 500, show a, timer 2500"},
      {"leaving while shown hides it at once",
       {{kMove, {12, 12}}, {kTimer}, {kMove, {40, 12}}},
       "enter a, timer 500, show a, timer 2500, leave a, enter b, hide, stop"},
      {"leaving the window before the rest ends shows nothing",
       {{kMove, {12, 12}}, {kLeave}, {kTimer}},
       "enter a, timer 500, leave a, stop"},
      {"a press puts it away until the pointer leaves",
       {{kMove, {12, 12}}, {kTimer}, {kPress, {12, 12}}, {kRelease, {12, 12}}, {kMove, {13, 13}}, {kTimer}},
       "enter a, timer 500, show a, timer 2500, hide, stop, click a"},
      {"a control without a hint starts nothing", {{kMove, {40, 12}}, {kTimer}}, "enter b"},
  };
  for (const Row& r : rows) {
    Board board;
    board.a->SetHint("tip");
    board.form.hint.SetHost({[&](int ms) { board.log.push_back("timer " + std::to_string(ms)); },
                             [&] { board.log.push_back("stop"); },
                             [&](const ui::Control& c) { board.log.push_back("show " + c.Name()); },
                             [&] { board.log.push_back("hide"); }});
    Replay(board.form, r.steps);
    EXPECT_EQ(board.Log(), r.want) << r.what;
  }
}

TEST_F(Window, PressReportsWhetherThePointerShouldBeCaptured) {
  EXPECT_TRUE(form.PointerPress({12, 12}));
  form.PointerRelease({12, 12});
  EXPECT_FALSE(form.PointerPress({12, 101}));  // disabled
  EXPECT_FALSE(form.PointerPress({290, 190}));
}

TEST_F(Window, ACancelledPressClicksNothing) {
  form.PointerPress({12, 12});
  form.PointerCancel();
  form.PointerRelease({12, 12});
  EXPECT_EQ(Log(), "enter a");
}

TEST_F(Window, TheClickUsesTheLabelsCurrentBounds) {
  // Bold widens the label to the right: a release on the widened part is inside.
  form.PointerPress({40, 12});
  b->SetStyle(ui::kBold);
  EXPECT_EQ(b->Bounds(), (ui::Rect{38, 10, 48, 20}));
  form.PointerRelease({83, 12});
  EXPECT_EQ(Log(), "enter b, click b");
}

TEST_F(Window, LabelsFitTheirCaptionAndKeepTheirLeftEdge) {
  EXPECT_EQ(a->Bounds(), (ui::Rect{10, 10, 28, 20}));
  invalidated.clear();
  a->SetStyle(ui::kBold);
  EXPECT_EQ(a->Bounds(), (ui::Rect{10, 10, 32, 20}));
  a->SetStyle(ui::kRegular);
  EXPECT_EQ(a->Bounds(), (ui::Rect{10, 10, 28, 20}));
  // Only the label's old and new rectangles are repainted.
  for (const ui::Rect& r : invalidated) EXPECT_TRUE(r == (ui::Rect{10, 10, 28, 20}) || r == (ui::Rect{10, 10, 32, 20}));
  EXPECT_FALSE(invalidated.empty());
  invalidated.clear();
  a->SetStyle(ui::kRegular);  // no change, no repaint
  EXPECT_TRUE(invalidated.empty());
}

TEST_F(Window, ActivationRunsOnce) {
  int runs = 0;
  form.onActivate = [&] {
    ++runs;
    throw std::runtime_error("probe failed");
  };
  EXPECT_THROW(form.Activate(), std::runtime_error);
  form.Activate();
  form.Activate();
  EXPECT_EQ(runs, 1);
}

TEST_F(Window, AReadersInvokeClicksOnlyEnabledControlsAndOnlyRealChangesAreTold) {
  std::vector<std::string> told;
  form.onEnabledChanged = [&](ui::Control& c) { told.push_back(c.Name() + (c.Enabled() ? " on" : " off")); };
  EXPECT_FALSE(form.Invoke(*off));
  off->SetEnabled(false);
  a->SetEnabled(true);
  off->SetEnabled(true);
  EXPECT_TRUE(form.Invoke(*off));
  EXPECT_TRUE(form.Invoke(*a));
  EXPECT_EQ(Log(), "click off, click a");
  EXPECT_EQ(told, std::vector<std::string>{"off on"});
}

TEST_F(Window, DisabledLabelsAreEmbossedAndEnabledOnesPlain) {
  fakes::Canvas canvas;
  form.Paint(canvas, {0, 0, 300, 200});
  ASSERT_EQ(canvas.texts.size(), 4u);  // a, b, then the disabled label twice
  EXPECT_EQ(canvas.texts[0].color, ui::kBlack);
  EXPECT_EQ(canvas.texts[2].at, (ui::Point{11, 101}));
  EXPECT_EQ(canvas.texts[2].color, fakes::Canvas::kHighlight);
  EXPECT_EQ(canvas.texts[3].at, (ui::Point{10, 100}));
  EXPECT_EQ(canvas.texts[3].color, fakes::Canvas::kShadow);
  // The background goes first, then each label's opaque white box.
  EXPECT_EQ(canvas.fills.front().first, (ui::Rect{0, 0, 300, 200}));
}

TEST_F(Window, PaintingADirtyRectangleSkipsControlsOutsideIt) {
  fakes::Canvas canvas;
  form.Paint(canvas, {0, 90, 300, 40});
  ASSERT_EQ(canvas.texts.size(), 2u);
  EXPECT_EQ(canvas.texts[0].text, "disabled");
}

}  // namespace
