// Integer pixel geometry shared by the window model and its hosts.
#pragma once

#include <cstdint>

namespace ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle given by its top-left corner and its size; right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool Contains(Point p) const { return p.x >= left && p.x < Right() && p.y >= top && p.y < Bottom(); }
  bool Empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// a * numerator / denominator rounded half away from zero, computed in 64 bits: the rounding the
// system's own MulDiv uses. A zero denominator gives -1, as there.
int MulDiv(int a, int numerator, int denominator);

// 0x00BBGGRR, as the system stores colours.
struct Color {
  std::uint32_t value = 0;
  static constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                 (static_cast<std::uint32_t>(b) << 16)};
  }
  std::uint8_t R() const { return value & 0xFF; }
  std::uint8_t G() const { return (value >> 8) & 0xFF; }
  std::uint8_t B() const { return (value >> 16) & 0xFF; }
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kWhite = Color::Rgb(255, 255, 255);
inline constexpr Color kBlack = Color::Rgb(0, 0, 0);

}  // namespace ui
