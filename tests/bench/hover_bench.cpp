// Runs N hovers (pointer onto "Install Vantrel for Windows" and off again) through the launcher
// window's core, for counting their cost with callgrind. usage: hover_bench N
#include <cstdlib>
#include <cstdint>
#include <vector>

#include "launcher/launcher.h"

namespace {

class Measurer final : public ui::TextMeasurer {
 public:
  ui::Size MeasureText(const ui::Font& font, std::string_view text) override {
    return {static_cast<int>(text.size()) * ((font.style & ui::kBold) ? 8 : 7), font.height + 4};
  }
};

class NoShell final : public platform::Shell {
 public:
  void Execute(const platform::ShellRequest&) override {}
};

class NoRegistry final : public platform::Registry {
 public:
  long Open(platform::RegistryRoot, const std::string&, std::uint32_t, platform::RegKey*) override { return 2; }
  long Query(platform::RegKey, const std::string&, std::uint32_t*, std::uint8_t*, std::uint32_t*) override { return 2; }
  long Close(platform::RegKey) override { return 0; }
};

class NoProcess final : public platform::Process {
 public:
  std::uint32_t ModuleFileName(char*, std::uint32_t) override { return 0; }
  std::uint32_t ModuleFileNameUtf8(char*, std::uint32_t) override { return 0; }
  bool AnsiNamesSame(std::string_view, std::string_view) override { return true; }
  bool IsLeadByte(unsigned char) override { return false; }
  char Separator() override { return '\\'; }
};

class Jpeg final : public ui::JpegCodec {
 public:
  ui::Size ReadHeader(std::span<const std::uint8_t>) const override { return {1, 1}; }
  ui::Bitmap Decode(std::span<const std::uint8_t>, ui::Size) const override { return ui::Bitmap::Rgb({1, 1}); }
};

}  // namespace

int main(int argc, char** argv) {
  const int hovers = argc > 1 ? std::atoi(argv[1]) : 1000;
  // A 1 x 1 palettised BMP with one palette entry stands in for the banner.
  std::vector<std::uint8_t> banner(54 + 4 + 4);
  banner[0] = 'B', banner[1] = 'M', banner[10] = 58, banner[14] = 40, banner[18] = 1, banner[22] = 1;
  banner[26] = 1, banner[28] = 8, banner[46] = 1;
  Measurer measurer;
  NoShell shell;
  NoRegistry registry;
  NoProcess process;
  Jpeg jpeg;
  const std::uint8_t jpegBytes[1] = {0};
  launcher::TfrmMain form(measurer, {shell, registry, process, jpeg}, {jpegBytes, jpegBytes, banner});
  int repaints = 0;
  form.SetInvalidator([&](const ui::Rect&) { ++repaints; });
  for (int i = 0; i < hovers; ++i) {
    form.PointerMove({30, 240});  // onto the install link
    form.PointerMove({300, 170});  // off it, onto white paper
  }
  return repaints == 4 * hovers ? 0 : 1;  // old and new rectangle, on the way on and on the way off
}
