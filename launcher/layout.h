// The layout description of the launcher window: frame, controls, texts and which handler each
// control's events go to, as designed at 96 pixels per inch.
#pragma once

#include <array>
#include <string_view>

#include "ui/controls.h"
#include "ui/geometry.h"

namespace launcher {

enum class ControlType { kPicture, kLinkLabel };
enum class Asset { kNone, kPhotograph, kWordmark, kBanner };

struct ControlLayout {
  std::string_view name;
  ControlType type;
  ui::Rect bounds;
  std::string_view caption;  // link labels
  Asset asset;               // pictures
  ui::PictureFit fit;
  std::string_view hint;
  bool enabled;
  std::string_view onClick;
  std::string_view onMouseEnter;
  std::string_view onMouseLeave;
};

// A control as a screen reader presents it: its name is the link's caption or the picture's hint
// unless one is given here.
struct SpokenLayout {
  std::string_view control;
  std::string_view name;
};

struct FormLayout {
  std::string_view caption;
  ui::Size clientSize;
  ui::Color color;
  std::string_view defaultFontFace;
  int defaultFontHeight;  // character height in pixels at 96 pixels per inch
  std::string_view linkFontFace;
  int linkFontHeight;     // likewise: 12 points at 96 pixels per inch
  ui::Color linkColor;
  std::string_view onActivate;
  std::array<ControlLayout, 8> controls;  // in creation order
  std::array<SpokenLayout, 8> readingOrder;  // the left column from the top, then the right-hand pictures
};

inline constexpr std::string_view kEnter = "txtInstallMouseEnter";
inline constexpr std::string_view kLeave = "txtInstallMouseLeave";
using enum ControlType;
using enum Asset;

inline constexpr FormLayout kFrmMain{
    "Vantrel Setup", {616, 448}, ui::kWhite, "MS Sans Serif", 11, "MS Sans Serif", 16, ui::kBlack, "FormActivate",
    {{
        {"Image2", kPicture, {456, 27, 130, 278}, "", kPhotograph, ui::PictureFit::kStretch, "", true, "Image2Click", "", ""},
        {"Image1", kPicture, {130, 360, 375, 80}, "", kWordmark, ui::PictureFit::kNatural, "", true, "Image1Click", "", ""},
        {"txtInstall", kLinkLabel, {22, 234, 190, 20}, "Install Vantrel for Windows", kNone, ui::PictureFit::kNatural, "", true, "txtInstallClick", kEnter, kLeave},
        {"txtWhatsNew", kLinkLabel, {22, 191, 236, 20}, "What's New in Vantrel v1.0 (PDF)", kNone, ui::PictureFit::kNatural, "", true, "txtWhatsNewClick", kEnter, kLeave},
        {"imgOrun", kPicture, {8, 27, 369, 113}, "", kBanner, ui::PictureFit::kStretch, "Visit Halvik Instruments Web Site", true, "imgOrunClick", "", ""},
        {"txtExit", kLinkLabel, {22, 407, 26, 20}, "Exit", kNone, ui::PictureFit::kNatural, "", true, "btnCloseClick", kEnter, kLeave},
        {"lblInstallAcrobat", kLinkLabel, {22, 317, 210, 20}, "Install Adobe Acrobat Reader", kNone, ui::PictureFit::kNatural, "", false, "lblInstallAcrobatClick", kEnter, kLeave},
        {"txtUserManual", kLinkLabel, {22, 276, 90, 20}, "User Manual", kNone, ui::PictureFit::kNatural, "", true, "txtUserManualClick", kEnter, kLeave},
    }},
    {{
        {"imgOrun", ""},
        {"txtWhatsNew", ""},
        {"txtInstall", ""},
        {"txtUserManual", ""},
        {"lblInstallAcrobat", ""},
        {"txtExit", ""},
        {"Image2", "Fendrik instrument family web page"},
        {"Image1", "Halvik Instruments: Fendrik instrument family web page"},
    }}};

}  // namespace launcher
