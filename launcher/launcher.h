// Unit Launcher: the launcher window TfrmMain, its handlers and the registry probes it asks.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "launcher/layout.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "probes/probes.h"
#include "ui/form.h"
#include "ui/placement.h"

namespace launcher {

using probes::GetInstalledVersion;
using probes::IsPdfHandlerRegistered;

inline constexpr std::string_view kMakerHomePage = "http://www.halvik-instruments.com/";
inline constexpr std::string_view kProductFamilyPage = "http://www.halvik-instruments.com/products/fendrikfam.html";
inline constexpr std::string_view kInstaller = "Vantrel\\Vantrel Install.exe";
inline constexpr std::string_view kUpgrader = "Vantrel\\Vantrel Upgrade.EXE";
inline constexpr std::string_view kWhatsNew = "Docs\\Intro.pdf";
inline constexpr std::string_view kUserManual = "Docs\\Vantrel.chm";
inline constexpr std::string_view kReaderInstaller = "Acrobat\\AdbeRdr90_en_US.exe";

// The embedded pictures the window shows.
struct Pictures {
  std::span<const std::uint8_t> photograph;  // JPEG
  std::span<const std::uint8_t> wordmark;    // JPEG
  std::span<const std::uint8_t> banner;      // BMP, 8 bits per pixel
};

struct Services {
  platform::Shell& shell;
  platform::Registry& registry;
  platform::Process& process;
  const ui::JpegCodec& jpeg;
};

class TfrmMain : public ui::Form {
 public:
  // Builds the window from its layout at the given pixel density: creates the controls in order,
  // loads the pictures (JPEG headers only) and connects each event to its handler by name.
  TfrmMain(ui::TextMeasurer& measurer, const Services& services, const Pictures& pictures,
           const ui::Scaling& scaling = {});

  ui::Label& Link(std::string_view name) const { return ui::AsLabel(*Find(name)); }

  // Published handlers, connected by name from the layout.
  void FormActivate();
  void imgOrunClick(ui::Control& Sender);
  void Image1Click(ui::Control& Sender);
  void Image2Click(ui::Control& Sender);
  void txtWhatsNewClick(ui::Control& Sender);
  void txtUserManualClick(ui::Control& Sender);
  void lblInstallAcrobatClick(ui::Control& Sender);
  void txtInstallClick(ui::Control& Sender);
  void btnCloseClick(ui::Control& Sender);
  void txtInstallMouseEnter(ui::Control& Sender);
  void txtInstallMouseLeave(ui::Control& Sender);

 private:
  void HighlightLabel(ui::Label& label, bool over);
  void Open(std::optional<std::string> verb, std::string_view file, std::optional<std::string> directory,
            bool utf8 = false);

  Services services_;
};

}  // namespace launcher
