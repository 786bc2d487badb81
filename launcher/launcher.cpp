// Unit Launcher: building the window from its layout, and its handlers.
#include "launcher/launcher.h"

#include <memory>

#include "shell/launcher_folder.h"
#include "shell/shell_open_request.h"

namespace launcher {

namespace {

using ClickHandler = void (TfrmMain::*)(ui::Control&);

struct HandlerEntry {
  std::string_view name;
  ClickHandler handler;
};

constexpr std::array kHandlers{
    HandlerEntry{"imgOrunClick", &TfrmMain::imgOrunClick},
    HandlerEntry{"Image1Click", &TfrmMain::Image1Click},
    HandlerEntry{"Image2Click", &TfrmMain::Image2Click},
    HandlerEntry{"txtWhatsNewClick", &TfrmMain::txtWhatsNewClick},
    HandlerEntry{"txtUserManualClick", &TfrmMain::txtUserManualClick},
    HandlerEntry{"lblInstallAcrobatClick", &TfrmMain::lblInstallAcrobatClick},
    HandlerEntry{"txtInstallClick", &TfrmMain::txtInstallClick},
    HandlerEntry{"btnCloseClick", &TfrmMain::btnCloseClick},
    HandlerEntry{"txtInstallMouseEnter", &TfrmMain::txtInstallMouseEnter},
    HandlerEntry{"txtInstallMouseLeave", &TfrmMain::txtInstallMouseLeave},
};
constexpr std::string_view kActivateHandler = "FormActivate";

constexpr const HandlerEntry* FindHandler(std::string_view name) {
  for (const auto& entry : kHandlers)
    if (entry.name == name) return &entry;
  return nullptr;
}

constexpr bool Resolves(const FormLayout& layout) {
  if (layout.onActivate != kActivateHandler) return false;
  for (const auto& c : layout.controls)
    for (std::string_view event : {c.onClick, c.onMouseEnter, c.onMouseLeave})
      if (!event.empty() && !FindHandler(event)) return false;
  return true;
}

static_assert(Resolves(kFrmMain), "an event of the layout names no handler of TfrmMain");

// Every control is read once, and each has something to be called by.
constexpr bool ReadsEveryControlOnce(const FormLayout& layout) {
  for (const auto& c : layout.controls) {
    int seen = 0;
    for (const auto& spoken : layout.readingOrder)
      if (spoken.control == c.name) {
        ++seen;
        if (spoken.name.empty() && c.caption.empty() && c.hint.empty()) return false;
      }
    if (seen != 1) return false;
  }
  return true;
}

static_assert(ReadsEveryControlOnce(kFrmMain), "the reading order misses a control, repeats one or leaves it nameless");

std::span<const std::uint8_t> AssetBytes(const Pictures& pictures, Asset asset) {
  switch (asset) {
    case Asset::kPhotograph: return pictures.photograph;
    case Asset::kWordmark: return pictures.wordmark;
    case Asset::kBanner: return pictures.banner;
    case Asset::kNone: break;
  }
  return {};
}

}  // namespace

TfrmMain::TfrmMain(ui::TextMeasurer& measurer, const Services& services, const Pictures& pictures,
                   const ui::Scaling& scaling)
    : ui::Form(measurer), services_(services) {
  const FormLayout& layout = kFrmMain;
  caption = std::string(layout.caption);
  color = layout.color;
  clientSize = scaling.Apply(layout.clientSize);
  // The link text is scaled as every length is, so it keeps its place between the other controls.
  const ui::Font linkFont{std::string(layout.linkFontFace), scaling.Length(layout.linkFontHeight)};

  auto connect = [this](ui::ControlEvent& slot, std::string_view name) {
    if (name.empty()) return;
    const ClickHandler handler = FindHandler(name)->handler;  // every name resolves: checked above
    slot = [this, handler](ui::Control& sender) { (this->*handler)(sender); };
  };

  for (const ControlLayout& c : layout.controls) {
    const ui::Rect bounds = scaling.Apply(c.bounds);
    ui::Control* control = nullptr;
    if (c.type == ControlType::kLinkLabel) {
      control = &Add<ui::Label>(std::string(c.name), bounds, std::string(c.caption), linkFont, layout.linkColor,
                                layout.color);
    } else {
      const auto bytes = AssetBytes(pictures, c.asset);
      std::unique_ptr<ui::PictureData> data;
      if (c.asset == Asset::kBanner)
        data = std::make_unique<ui::BmpPicture>(bytes);
      else
        data = std::make_unique<ui::JpegPicture>(bytes, services.jpeg);
      control = &Add<ui::Picture>(std::string(c.name), bounds, std::move(data), c.fit);
    }
    control->SetEnabled(c.enabled);
    control->SetHint(std::string(c.hint));
    connect(control->onClick, c.onClick);
    connect(control->onMouseEnter, c.onMouseEnter);
    connect(control->onMouseLeave, c.onMouseLeave);
  }
  for (const SpokenLayout& spoken : layout.readingOrder) {
    ui::Control* control = Find(spoken.control);
    std::string_view name = spoken.name;
    if (name.empty()) name = control->Kind() == ui::ControlKind::kLabel ? ui::AsLabel(*control).Caption() : control->Hint();
    readingOrder.push_back({control, std::string(name)});
  }
  onActivate = [this] { FormActivate(); };
}

void TfrmMain::Open(std::optional<std::string> verb, std::string_view file, std::optional<std::string> directory,
                    bool utf8) {
  shell::ShellOpenRequest request;
  request.owner = nativeHandle;
  request.verb = std::move(verb);
  request.file = std::string(file);
  request.directory = std::move(directory);
  request.utf8 = utf8;
  // Whatever goes wrong, the shell reports it itself, owned by this window, and the launcher stays
  // as it was.
  services_.shell.Execute(request);
}

void TfrmMain::imgOrunClick(ui::Control&) { Open("open", kMakerHomePage, std::nullopt); }
void TfrmMain::Image2Click(ui::Control&) { Open("open", kProductFamilyPage, std::nullopt); }
void TfrmMain::Image1Click(ui::Control&) { Open("open", kProductFamilyPage, std::nullopt); }
void TfrmMain::txtWhatsNewClick(ui::Control&) { Open("open", kWhatsNew, std::nullopt); }
void TfrmMain::txtUserManualClick(ui::Control&) { Open("open", kUserManual, std::nullopt); }
void TfrmMain::lblInstallAcrobatClick(ui::Control&) { Open(std::nullopt, kReaderInstaller, std::nullopt); }

void TfrmMain::txtInstallClick(ui::Control&) {
  // Without the whole path of the launcher there is no folder to trust: a shortened one would name
  // an ancestor, and another program of the same name there.
  std::optional<shell::LauncherFolderText> folder = shell::LauncherFolder(services_.process);
  if (!folder) return;
  const std::string version = GetInstalledVersion(services_.registry);
  Open(std::nullopt, version.empty() ? kInstaller : kUpgrader, std::move(folder->path), folder->utf8);
}

void TfrmMain::btnCloseClick(ui::Control&) { Close(); }

void TfrmMain::txtInstallMouseEnter(ui::Control& Sender) { HighlightLabel(ui::AsLabel(Sender), true); }
void TfrmMain::txtInstallMouseLeave(ui::Control& Sender) { HighlightLabel(ui::AsLabel(Sender), false); }

void TfrmMain::HighlightLabel(ui::Label& label, bool over) {
  label.SetStyle(over && label.Enabled() ? ui::kBold : ui::kRegular);
}

void TfrmMain::FormActivate() {
  if (!IsPdfHandlerRegistered(services_.registry)) Link("lblInstallAcrobat").SetEnabled(true);
}

}  // namespace launcher
