// Program entry Launch on Linux: the launcher over GTK, GIO, the user's Wine prefix and
// /proc/self/exe.
#include "app/launch.h"
#include "assets/icon.h"
#include "platform/gtk/services.h"
#include "platform/gtk/window_host.h"

// The arguments are ignored, as on Windows.
int main() {
  platform::GtkHost host(assets::Icon());
  platform::LinuxShell shell;
  platform::LinuxRegistry registry;
  platform::LinuxProcess process;
  return app::RunLauncher(host, {shell, registry, process, ui::LibJpeg()}, app::EmbeddedPictures());
}
