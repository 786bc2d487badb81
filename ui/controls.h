// The controls of the window model: text labels and pictures with their geometry and events.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/canvas.h"
#include "ui/picture.h"

namespace ui {

class Form;
class Control;

using ControlEvent = std::function<void(Control& sender)>;

enum class ControlKind { kLabel, kPicture };

class Control {
 public:
  Control(Form& owner, std::string name, Rect bounds);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual ControlKind Kind() const = 0;
  // Draws the control; only what meets `dirty` need be drawn.
  virtual void Paint(Canvas& canvas, const Rect& dirty) = 0;

  const std::string& Name() const { return name_; }
  const Rect& Bounds() const { return bounds_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }

  ControlEvent onClick;
  ControlEvent onMouseEnter;
  ControlEvent onMouseLeave;

 protected:
  // Moves or resizes the control, repainting what it covered before and covers now.
  void SetBounds(const Rect& bounds);
  Form& owner_;

 private:
  std::string name_;
  Rect bounds_;
  bool enabled_ = true;
  std::string hint_;
};

// A single-line text label on an opaque background that sizes itself to its caption, keeping its
// left and top edges.
class Label final : public Control {
 public:
  Label(Form& owner, std::string name, Rect bounds, std::string caption, Font font, Color textColor,
        Color background);

  ControlKind Kind() const override { return ControlKind::kLabel; }
  void Paint(Canvas& canvas, const Rect& dirty) override;

  const std::string& Caption() const { return caption_; }
  const Font& GetFont() const { return font_; }
  FontStyles Style() const { return font_.style; }
  // Replaces the style set as a whole and re-measures the label.
  void SetStyle(FontStyles style);
  // Fits the label to its caption in its current font.
  void AdjustSize();

 private:
  std::string caption_;
  Font font_;
  Color textColor_;
  Color background_;
};

enum class PictureFit { kNatural, kStretch };

// A picture control: the picture drawn from the control's top-left at its natural size, or
// stretched to fill the control in both directions, scaled afresh at each paint.
class Picture final : public Control {
 public:
  Picture(Form& owner, std::string name, Rect bounds, std::unique_ptr<PictureData> data, PictureFit fit);

  ControlKind Kind() const override { return ControlKind::kPicture; }
  void Paint(Canvas& canvas, const Rect& dirty) override;

 private:
  std::unique_ptr<PictureData> data_;
  PictureFit fit_;
};

// Thrown when a control is taken for a kind it is not.
class InvalidCast : public std::runtime_error {
 public:
  InvalidCast() : std::runtime_error("Invalid class typecast") {}
};

// The control as a label, or InvalidCast.
Label& AsLabel(Control& control);

}  // namespace ui
