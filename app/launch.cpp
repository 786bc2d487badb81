// Start-up: the application title, the one window and the event loop.
#include "app/launch.h"

#include "app/error_report.h"
#include "assets/embedded.h"
#include "ui/marks.h"

namespace app {

launcher::Pictures EmbeddedPictures() {
  return {assets::Photograph(), assets::Wordmark(), assets::Banner()};
}

int RunLauncher(platform::WindowHost& host, const launcher::Services& services, const launcher::Pictures& pictures) {
  const int dpi = host.Dpi();
  const ui::Font defaultFont{std::string(launcher::kFrmMain.defaultFontFace),
                             ui::HeightAtDpi(launcher::kFrmMain.defaultFontHeight, dpi)};
  const ui::Scaling scaling(dpi, host.MeasureText(defaultFont, "0").height);
  launcher::TfrmMain frmMain(host, services, pictures, scaling);
  marks::Mark("window built");
  return host.Run(frmMain, kApplicationTitle, [](std::exception_ptr error) { return ReportFor(error); });
}

}  // namespace app
