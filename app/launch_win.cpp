// Program entry Launch: the Windows start-up of the launcher.
#include <windows.h>

#include "app/launch.h"
#include "platform/registry_win.h"
#include "platform/shell_win.h"
#include "platform/window_host_win.h"

namespace {

// The show command the process was started with, as the system passes it on.
int StartupShowCommand() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

int Launch(HINSTANCE instance) {
  platform::WindowsShell shell;
  platform::WindowsRegistry registry;
  platform::WindowsProcess process;
  platform::Win32Host host(instance, StartupShowCommand());
  return app::RunLauncher(host, {shell, registry, process, ui::LibJpeg()}, app::EmbeddedPictures());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return Launch(instance); }
