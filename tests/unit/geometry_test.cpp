// Integer geometry, centring and pixel-density scaling.
#include <gtest/gtest.h>

#include "ui/placement.h"

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroLikeTheSystem) {
  struct Row { int a, n, d, want; };
  const Row rows[] = {
      {616, 16, 13, 758}, {448, 16, 13, 551}, {10, 3, 4, 8}, {10, 1, 4, 3}, {-10, 1, 4, -3},
      {7, -1, 2, -4},     {0, 5, 7, 0},       {11, 120, 96, 14}, {5, 1, 0, -1},
      {1 << 30, 3, 4, 805306368},  // the product needs 64 bits
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ui::MulDiv(r.a, r.n, r.d), r.want) << r.a << "*" << r.n << "/" << r.d;
  }
}

TEST(CentreOn, CentresOnTheWholeDesktopButNeverBeforeItsCorner) {
  struct Row { ui::Rect desktop; ui::Size outer; ui::Point want; };
  const Row rows[] = {
      {{0, 0, 1024, 768}, {622, 470}, {201, 149}},
      {{0, 0, 1025, 769}, {623, 471}, {201, 149}},        // both halves truncate
      {{-1280, 0, 2560, 1024}, {622, 470}, {-311, 277}},  // a monitor left of the primary one
      {{0, 0, 500, 400}, {622, 470}, {0, 0}},             // larger than the desktop: pinned to its corner
      {{100, 50, 400, 300}, {622, 470}, {100, 50}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ui::CentreOn(r.desktop, r.outer), r.want)
        << "desktop " << r.desktop.left << "," << r.desktop.top << " " << r.desktop.width << "x" << r.desktop.height;
  }
}

TEST(Scaling, FollowsTheDefaultFontsTextHeightAwayFrom96Dpi) {
  struct Row { int dpi, textHeight; int client, font, defaultFont; };
  const Row rows[] = {
      {96, 13, 616, 16, 11},
      {96, 15, 616, 16, 11},   // at the design density nothing is scaled, whatever the font measures
      {120, 16, 758, 25, 14},  // 616*16/13; 12pt -> 15pt -> 25 px at 120 dpi
      {144, 20, 948, 36, 17},  // 12pt -> 18pt -> 36 px
      {120, 13, 616, 20, 14},  // same text height: only the font's pixel height follows the density
  };
  for (const Row& r : rows) {
    const ui::Scaling s(r.dpi, r.textHeight);
    EXPECT_EQ(s.Length(616), r.client) << r.dpi << " dpi, text " << r.textHeight;
    EXPECT_EQ(s.FontHeight(12), r.font) << r.dpi << " dpi, text " << r.textHeight;
    EXPECT_EQ(ui::DefaultFontHeight(r.dpi), r.defaultFont) << r.dpi << " dpi";
  }
}

TEST(Rect, UnionIgnoresEmptyRectangles) {
  EXPECT_EQ(ui::Union({22, 234, 190, 20}, {22, 234, 215, 20}), (ui::Rect{22, 234, 215, 20}));
  EXPECT_EQ(ui::Union({}, {5, 5, 2, 2}), (ui::Rect{5, 5, 2, 2}));
  EXPECT_EQ(ui::Union({0, 0, 1, 1}, {4, 4, 1, 1}), (ui::Rect{0, 0, 5, 5}));
  EXPECT_FALSE((ui::Rect{0, 0, 10, 10}.Contains({10, 5})));  // right edge is exclusive
}

}  // namespace
