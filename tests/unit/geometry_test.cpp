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
      {{0, 0, 1024, 768}, {623, 471}, {201, 149}},        // 512 - 311, not (1024 - 623) / 2 = 200
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
  // `link` is the link font's character height: a length of 16 scaled like every other length.
  struct Row { int dpi, textHeight; int client, link, defaultFont; };
  const Row rows[] = {
      {96, 13, 616, 16, 11},
      {96, 15, 616, 16, 11},   // at the design density nothing is scaled, whatever the font measures
      {120, 16, 758, 20, 14},  // 616*16/13, 16*16/13
      {144, 20, 948, 25, 17},  // not 36: the density is not applied a second time
      {192, 25, 1185, 31, 22},
      {120, 13, 616, 16, 14},  // same text height: lengths stay, only the default font follows the density
  };
  for (const Row& r : rows) {
    const ui::Scaling s(r.dpi, r.textHeight);
    EXPECT_EQ(s.Length(616), r.client) << r.dpi << " dpi, text " << r.textHeight;
    EXPECT_EQ(s.Length(16), r.link) << r.dpi << " dpi, text " << r.textHeight;
    EXPECT_EQ(ui::HeightAtDpi(11, r.dpi), r.defaultFont) << r.dpi << " dpi";
  }
}

}  // namespace
