// The launcher window built from its layout: controls, requests, install or upgrade, emphasis,
// the reader link, and when the pictures are decoded.
#include <gtest/gtest.h>

#include "fakes.h"
#include "launcher/launcher.h"
#include "probes/registry_access.h"
#include "shell/shell_open_request.h"

namespace {

using launcher::TfrmMain;
using shell::ShellOpenRequest;
constexpr platform::ShowMode kNormal = platform::ShowMode::kNormal;

const std::uint8_t kPhotoBytes[4] = {1};
const std::uint8_t kWordmarkBytes[4] = {2};

class Launcher : public ::testing::Test {
 protected:
  Launcher() {
    jpeg.sizes[kPhotoBytes] = {407, 804};
    jpeg.sizes[kWordmarkBytes] = {375, 80};
  }
  std::unique_ptr<TfrmMain> Make(const ui::Scaling& scaling = {}) {
    auto form = std::make_unique<TfrmMain>(measurer, launcher::Services{shell, registry, process, jpeg},
                                           launcher::Pictures{kPhotoBytes, kWordmarkBytes, Banner()}, scaling);
    form->nativeHandle = 0xABC;
    return form;
  }
  static std::span<const std::uint8_t> Banner() {
    // A 2 x 1 palettised BMP stands in for the banner.
    static const std::vector<std::uint8_t> file = [] {
      std::vector<std::uint8_t> f(54 + 8 + 4);
      f[0] = 'B', f[1] = 'M', f[10] = 62, f[14] = 40, f[18] = 2, f[22] = 1, f[26] = 1, f[28] = 8, f[46] = 2;
      return f;
    }();
    return file;
  }
  void Click(TfrmMain& form, std::string_view name) {
    const ui::Rect r = form.Find(name)->Bounds();
    const ui::Point at{r.left + 2, r.top + 2};
    form.PointerMove(at);
    form.PointerPress(at);
    form.PointerRelease(at);
  }
  void RegisterPdfHandler() {
    registry.Set(platform::kClassesRoot, ".pdf", "", fakes::Registry::Sz("AcroExch.Document"));
    registry.Set(platform::kClassesRoot, "AcroExch.Document\\Shell\\Open\\Command", "",
                 fakes::Registry::Sz("\"C:\\Reader\\AcroRd32.exe\" \"%1\""));
  }

  fakes::Measurer measurer;
  fakes::Shell shell;
  fakes::Registry registry;
  fakes::Process process;
  fakes::CountingJpeg jpeg;
};

TEST_F(Launcher, TheLayoutKeepsEveryControlInsideTheWindowAndApartFromTheOthers) {
  // At each density, and with every link bold at once (its widest): no two controls overlap and
  // every one lies inside the client area. Labels are sized by the fake measurer (7 px a character,
  // 8 in bold).
  for (const ui::Scaling& scaling : {ui::Scaling(), ui::Scaling(120, 16), ui::Scaling(144, 20), ui::Scaling(192, 25)}) {
    auto form = Make(scaling);
    ASSERT_EQ(form->Controls().size(), 8u);
    for (const auto& c : form->Controls())
      if (c->Kind() == ui::ControlKind::kLabel) ui::AsLabel(*c).SetStyle(ui::kBold);
    const ui::Rect client{0, 0, form->clientSize.width, form->clientSize.height};
    for (const auto& c : form->Controls()) {
      const ui::Rect r = c->Bounds();
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.Right() <= client.width && r.Bottom() <= client.height)
          << c->Name() << " leaves the " << client.width << " x " << client.height << " window";
      for (const auto& d : form->Controls()) {
        const ui::Rect o = d->Bounds();
        const bool overlap = r.left < o.Right() && o.left < r.Right() && r.top < o.Bottom() && o.top < r.Bottom();
        EXPECT_TRUE(c == d || !overlap) << c->Name() << " overlaps " << d->Name() << " at " << client.width;
      }
    }
  }
}

TEST_F(Launcher, EachClickIssuesExactlyItsRequest) {
  struct Row { const char* control; std::optional<std::string> verb; std::string file; };
  const Row rows[] = {
      {"imgOrun", "open", "http://www.halvik-instruments.com/"},
      {"Image2", "open", "http://www.halvik-instruments.com/products/fendrikfam.html"},
      {"Image1", "open", "http://www.halvik-instruments.com/products/fendrikfam.html"},
      {"txtWhatsNew", "open", "Docs\\Intro.pdf"},
      {"txtUserManual", "open", "Docs\\Vantrel.chm"},
  };
  for (const Row& r : rows) {
    shell.requests.clear();
    auto form = Make();
    Click(*form, r.control);
    ASSERT_EQ(shell.requests.size(), 1u) << r.control;
    EXPECT_EQ(shell.requests[0], (ShellOpenRequest{0xABC, r.verb, r.file, std::nullopt, std::nullopt, kNormal})) << r.control;
  }
}

TEST_F(Launcher, AReaderFindsEveryControlInOrderAndItsDefaultActionIsTheClick) {
  const char* const names[] = {"Visit Halvik Instruments Web Site", "What's New in Vantrel v1.0 (PDF)",
                               "Install Vantrel for Windows", "User Manual", "Install Adobe Acrobat Reader", "Exit",
                               "Fendrik instrument family web page",
                               "Halvik Instruments: Fendrik instrument family web page"};
  for (const bool activated : {false, true}) {  // the reader link is greyed until activation finds no handler
    const auto reference = Make();
    const auto& spoken = reference->readingOrder;
    ASSERT_EQ(spoken.size(), std::size(names));
    for (std::size_t i = 0; i < spoken.size(); ++i) {
      const std::string what = spoken[i].control->Name() + (activated ? " after activation" : "");
      EXPECT_EQ(spoken[i].name, names[i]) << what;
      std::vector<ShellOpenRequest> requests[2];
      int closes[2] = {};
      bool ran = false;
      for (int invoked : {0, 1}) {
        shell.requests.clear();
        auto form = Make();
        form->onClose = [&] { ++closes[invoked]; };
        if (activated) form->Activate();
        if (invoked)
          ran = form->Invoke(*form->Find(spoken[i].control->Name()));
        else
          Click(*form, spoken[i].control->Name());
        requests[invoked] = shell.requests;
      }
      EXPECT_EQ(requests[1], requests[0]) << what;
      EXPECT_EQ(closes[1], closes[0]) << what;
      EXPECT_EQ(ran, requests[1].size() + closes[1] == 1) << what;
    }
  }
}

TEST_F(Launcher, ARepeatedClickAsksAgain) {
  auto form = Make();
  Click(*form, "txtWhatsNew");
  Click(*form, "txtWhatsNew");
  EXPECT_EQ(shell.requests.size(), 2u);  // clicked again, asked again
  EXPECT_TRUE(form->Find("txtWhatsNew")->Enabled());
}

TEST_F(Launcher, ExitClosesTheWindowAndStartsNothing) {
  auto form = Make();
  int closes = 0;
  form->onClose = [&] { ++closes; };
  Click(*form, "txtExit");
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(Launcher, InstallOrUpgradeIsChosenAfreshOnEveryClickFromTheLaunchersOwnFolder) {
  const std::string key = "SOFTWARE\\Orun\\Vantrel\\AppInfo";
  struct Row { const char* what; std::function<void()> arrange; const char* file; };
  const Row rows[] = {
      {"no key", [] {}, "Vantrel\\Vantrel Install.exe"},
      {"key without the value", [&] { registry.SetKey(platform::kLocalMachine, key); }, "Vantrel\\Vantrel Install.exe"},
      {"empty version", [&] { registry.Set(platform::kLocalMachine, key, "CurrentVersion", fakes::Registry::Sz("")); },
       "Vantrel\\Vantrel Install.exe"},
      {"version 1.0", [&] { registry.Set(platform::kLocalMachine, key, "CurrentVersion", fakes::Registry::Sz("1.0")); },
       "Vantrel\\Vantrel Upgrade.EXE"},
  };
  auto form = Make();  // one window for all rows: the registry is read on each click
  for (const Row& r : rows) {
    r.arrange();
    shell.requests.clear();
    Click(*form, "txtInstall");
    ASSERT_EQ(shell.requests.size(), 1u) << r.what;
    EXPECT_EQ(shell.requests[0], (ShellOpenRequest{0xABC, std::nullopt, r.file, std::nullopt, "E:", kNormal})) << r.what;
  }
}

TEST_F(Launcher, AVersionOfTheWrongTypeAbandonsTheInstallClick) {
  registry.Set(platform::kLocalMachine, "SOFTWARE\\Orun\\Vantrel\\AppInfo", "CurrentVersion", fakes::Registry::Dword(1));
  auto form = Make();
  try {
    Click(*form, "txtInstall");
    FAIL() << "no exception";
  } catch (const probes::RegistryError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'CurrentVersion'");
  }
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_EQ(registry.OpenKeys(), 0u);
  registry.Set(platform::kLocalMachine, "SOFTWARE\\Orun\\Vantrel\\AppInfo", "CurrentVersion", fakes::Registry::Sz("1.0"));
  Click(*form, "txtInstall");
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].file, "Vantrel\\Vantrel Upgrade.EXE");
}

TEST_F(Launcher, TheInstallDirectoryComesFromTheWholePathOrThereIsNoRequest) {
  const std::string deep = "C:\\" + std::string(250, 'd') + "\\" + std::string(30, 'e');
  // "ДД" in UTF-8 is D0 94 D0 94, and 0x94 leads a double-byte character in code page 932: read with
  // that code page's rule, the last separator would be taken for a trail byte.
  const std::string dd = "C:\\Disc\\\xD0\x94\xD0\x94";
  struct Row { const char* what; std::string path; std::string utf8; std::uint32_t failFrom; bool cp932;
               std::optional<std::string> directory; bool utf8Request; };
  const Row rows[] = {
      {"no backslash: empty text, not none", "Launch.exe", "", 0, false, "", false},
      {"a folder past 260 characters", deep + "\\Launch.exe", "", 0, false, deep, false},
      {"no whole path to be had", deep + "\\Launch.exe", "", 512, false, std::nullopt, false},
      {"a folder outside the code page", "C:\\???? ?\\Launch.exe", "C:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA \xCE\x94\\Launch.exe",
       0, false, "C:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA \xCE\x94", true},
      {"a UTF-8 folder under a double-byte code page", "C:\\Disc\\??\\Launch.exe", dd + "\\Launch.exe", 0, true, dd, true},
  };
  for (const Row& r : rows) {
    process.path = r.path;
    process.utf8Path = r.utf8;
    process.failFrom = r.failFrom;
    process.leadBytes.clear();
    for (int b = 0x81; r.cp932 && b <= 0xFC; ++b)
      if (b <= 0x9F || b >= 0xE0) process.leadBytes.insert(static_cast<unsigned char>(b));
    shell.requests.clear();
    auto form = Make();
    Click(*form, "txtInstall");
    if (!r.directory) {
      EXPECT_TRUE(shell.requests.empty()) << r.what;
      continue;
    }
    ASSERT_EQ(shell.requests.size(), 1u) << r.what;
    EXPECT_EQ(shell.requests[0].directory, r.directory) << r.what;
    EXPECT_EQ(shell.requests[0].utf8, r.utf8Request) << r.what;
    EXPECT_EQ(shell.requests[0].file, "Vantrel\\Vantrel Install.exe") << r.what;
  }
}

TEST_F(Launcher, LinksTurnBoldUnderThePointerAndGrowToTheRight) {
  auto form = Make();
  const char* links[] = {"txtInstall", "txtWhatsNew", "txtExit", "txtUserManual"};
  for (const char* name : links) {
    ui::Label& link = form->Link(name);
    const ui::Rect regular = link.Bounds();
    form->PointerMove({regular.left + 1, regular.top + 1});
    EXPECT_EQ(link.Style(), ui::kBold) << name;
    EXPECT_EQ(link.Bounds().left, 22) << name;
    EXPECT_GT(link.Bounds().width, regular.width) << name;
    for (const char* other : links)
      if (other != name) {
        EXPECT_EQ(form->Link(other).Style(), ui::kRegular) << name << " made " << other << " bold";
      }
    form->PointerMove({300, 440});  // the wordmark, below everything
    EXPECT_EQ(link.Style(), ui::kRegular) << name;
    EXPECT_EQ(link.Bounds(), regular) << name;
  }
}

TEST_F(Launcher, TheStyleIsReplacedWholeNotEdited) {
  auto form = Make();
  ui::Label& link = form->Link("txtInstall");
  link.SetStyle(ui::kItalic | ui::kUnderline);
  form->txtInstallMouseEnter(link);
  EXPECT_EQ(link.Style(), ui::kBold);
  link.SetStyle(ui::kBold | ui::kItalic);
  form->txtInstallMouseLeave(link);
  EXPECT_EQ(link.Style(), ui::kRegular);
}

TEST_F(Launcher, TheGreyedReaderLinkNeverTurnsBold) {
  RegisterPdfHandler();
  auto form = Make();
  form->Activate();
  ui::Label& reader = form->Link("lblInstallAcrobat");
  form->PointerMove({reader.Bounds().left + 1, reader.Bounds().top + 1});
  EXPECT_EQ(form->Hot(), &reader);
  EXPECT_EQ(reader.Style(), ui::kRegular);
  EXPECT_FALSE(reader.Enabled());
  Click(*form, "lblInstallAcrobat");
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(Launcher, HoverHandlersRefuseAnythingButATextLabel) {
  auto form = Make();
  ui::Control& banner = *form->Find("imgOrun");
  EXPECT_THROW(form->txtInstallMouseEnter(banner), ui::InvalidCast);
  try {
    form->txtInstallMouseLeave(banner);
    ADD_FAILURE() << "a picture was taken for a label";
  } catch (const ui::InvalidCast& e) {
    EXPECT_STREQ(e.what(), "Invalid class typecast");
  }
}

TEST_F(Launcher, TheReaderLinkIsEnabledOnActivationOnlyWithoutAPdfHandler) {
  struct Row { const char* what; std::function<void()> arrange; bool enabled; };
  const Row rows[] = {
      {"no .pdf key", [] {}, true},
      {".pdf without a default value", [&] { registry.SetKey(platform::kClassesRoot, ".pdf"); }, true},
      {"identifier without an open command",
       [&] { registry.Set(platform::kClassesRoot, ".pdf", "", fakes::Registry::Sz("PdfFile")); }, true},
      {"empty open command",
       [&] {
         registry.Set(platform::kClassesRoot, ".pdf", "", fakes::Registry::Sz("PdfFile"));
         registry.Set(platform::kClassesRoot, "PdfFile\\shell\\open\\command", "", fakes::Registry::Sz(""));
       },
       true},
      {"registered", [&] { RegisterPdfHandler(); }, false},
  };
  for (const Row& r : rows) {
    registry = fakes::Registry();
    r.arrange();
    auto form = Make();
    std::vector<ui::Rect> repainted;
    form->SetInvalidator([&](const ui::Rect& rect) { repainted.push_back(rect); });
    int announced = 0;
    form->onEnabledChanged = [&](ui::Control& c) { announced += c.Name() == "lblInstallAcrobat" ? 1 : 100; };
    EXPECT_FALSE(form->Link("lblInstallAcrobat").Enabled()) << r.what << ": before activation";
    form->Activate();
    EXPECT_EQ(form->Link("lblInstallAcrobat").Enabled(), r.enabled) << r.what;
    // Enabling repaints the reader link alone; finding a handler repaints nothing.
    EXPECT_EQ(repainted, r.enabled ? std::vector<ui::Rect>{form->Link("lblInstallAcrobat").Bounds()} : std::vector<ui::Rect>{})
        << r.what;
    registry = fakes::Registry();  // the handler goes away: activation does not run again
    form->Activate();
    EXPECT_EQ(form->Link("lblInstallAcrobat").Enabled(), r.enabled) << r.what << ": after a second activation";
    EXPECT_EQ(announced, r.enabled ? 1 : 0) << r.what << ": announced";
  }
}

TEST_F(Launcher, TheReaderLinkEnabledUnderThePointerWaitsForTheNextEnter) {
  auto form = Make();
  ui::Label& reader = form->Link("lblInstallAcrobat");
  const ui::Point on{reader.Bounds().left + 1, reader.Bounds().top + 1};
  form->PointerMove(on);
  form->Activate();
  EXPECT_TRUE(reader.Enabled());
  form->PointerMove({on.x + 1, on.y});
  EXPECT_EQ(reader.Style(), ui::kRegular);
  form->PointerMove({300, 440});
  form->PointerMove(on);
  EXPECT_EQ(reader.Style(), ui::kBold);
  form->PointerPress(on);
  form->PointerRelease(on);
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0], (ShellOpenRequest{0xABC, std::nullopt, "Acrobat\\AdbeRdr90_en_US.exe", std::nullopt,
                                                 std::nullopt, kNormal}));
}

TEST_F(Launcher, JpegsAreDecodedOnceAtTheirFirstDrawNeverWhileBuilding) {
  auto form = Make();
  EXPECT_EQ(jpeg.headers, 2);
  EXPECT_EQ(jpeg.decodes, 0);
  fakes::Canvas canvas;
  form->Paint(canvas, {0, 0, 616, 448});
  EXPECT_EQ(jpeg.decodes, 2);
  // Each asked for no more than its drawn size: the photograph its place, the wordmark its own.
  EXPECT_EQ(jpeg.asked, (std::vector<ui::Size>{{130, 278}, {375, 80}}));
  form->Paint(canvas, {0, 0, 616, 448});
  form->Paint(canvas, {450, 20, 150, 300});
  EXPECT_EQ(jpeg.decodes, 2);
  EXPECT_EQ(jpeg.headers, 2);
}

TEST_F(Launcher, PicturesAreStretchedToTheirControlsInDevicePixels) {
  // Scaled pictures arrive in bands of rows: together they tile the control exactly, in device
  // pixels (twice as many each way at 200 %, the wordmark too, so nothing scales them again).
  struct Row { const char* what; int scale; ui::Point at; ui::Size size; };
  const Row rows[] = {
      {"the photograph, squeezed", 1, {456, 27}, {130, 278}},
      {"the wordmark, as it is", 1, {130, 360}, {375, 80}},
      {"the banner, distorted", 1, {8, 27}, {369, 113}},
      {"the photograph at 200 %", 2, {456, 27}, {260, 556}},
      {"the wordmark at 200 %", 2, {130, 360}, {750, 160}},
      {"the banner at 200 %", 2, {8, 27}, {738, 226}},
  };
  auto form = Make();
  for (const Row& r : rows) {
    fakes::Canvas canvas;
    canvas.scale = r.scale;
    form->Paint(canvas, {0, 0, 616, 448});
    int nextTop = r.at.y, deviceRows = 0;
    for (const auto& blit : canvas.bitmaps) {
      if (blit.at.x != r.at.x) continue;
      EXPECT_EQ(blit.at.y, nextTop) << r.what;
      EXPECT_EQ(blit.size.width, r.size.width) << r.what;
      nextTop += blit.size.height / r.scale;
      deviceRows += blit.size.height;
    }
    EXPECT_EQ(deviceRows, r.size.height) << r.what;
  }
}

TEST_F(Launcher, AnotherPixelDensityScalesEverythingByTheTextHeight) {
  // Worked by hand: each length times the text height there over 13, rounded half up.
  // 120 dpi, text 16: 616 x 16 / 13 = 758.2, 448 x 16 / 13 = 551.4, 456 x 16 / 13 = 561.2, 16 x 16 / 13 = 19.7.
  // 144 dpi, text 20: 616 -> 947.7, 448 -> 689.2, 456 -> 701.5 (702), 27 -> 41.5 (42), 16 -> 24.6.
  // 192 dpi, text 25: 616 -> 1184.6, 448 -> 861.5 (862), 278 -> 534.6, 16 -> 30.8.
  struct Row { int dpi, text; ui::Size client; ui::Rect photo; int linkHeight; ui::Point install; };
  const Row rows[] = {
      {120, 16, {758, 551}, {561, 33, 160, 342}, 20, {27, 288}},
      {144, 20, {948, 689}, {702, 42, 200, 428}, 25, {34, 360}},
      {192, 25, {1185, 862}, {877, 52, 250, 535}, 31, {42, 450}},
  };
  for (const Row& r : rows) {
    auto form = Make(ui::Scaling(r.dpi, r.text));
    EXPECT_EQ(form->clientSize, r.client) << r.dpi << " dpi";
    EXPECT_EQ(form->Find("Image2")->Bounds(), r.photo) << r.dpi << " dpi";
    EXPECT_EQ(form->Link("txtInstall").GetFont().height, r.linkHeight) << r.dpi << " dpi";
    EXPECT_EQ(form->Link("txtInstall").Bounds().left, r.install.x) << r.dpi << " dpi";
    EXPECT_EQ(form->Link("txtInstall").Bounds().top, r.install.y) << r.dpi << " dpi";
  }
}

TEST_F(Launcher, APartialPaintResamplesOnlyThePictureRowsItNeeds) {
  // The photograph is 130 x 278 from (456, 27); a dirty strip of it needs only its own rows.
  struct Row { ui::Rect dirty; int firstRow, rows; };
  const Row rows[] = {
      {{456, 100, 130, 10}, 73, 10},
      {{0, 0, 616, 64}, 0, 37},     // the first strip of a full paint: rows 0 to 36
      {{0, 292, 616, 64}, 265, 13}, // the strip holding its last rows
      {{456, 27, 130, 278}, 0, 278},
  };
  auto form = Make();
  for (const Row& r : rows) {
    fakes::Canvas canvas;
    form->Paint(canvas, r.dirty);
    int first = -1, drawn = 0;
    for (const auto& blit : canvas.bitmaps)
      if (blit.at.x == 456) {
        if (first < 0) first = blit.at.y - 27;
        drawn += blit.size.height;
      }
    EXPECT_EQ(first, r.firstRow) << "dirty top " << r.dirty.top;
    EXPECT_EQ(drawn, r.rows) << "dirty top " << r.dirty.top;
  }
}

}  // namespace
