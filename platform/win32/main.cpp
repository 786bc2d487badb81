// Program entry Launch on Windows: hardens the DLL search, then runs the launcher over the Windows
// registry, shell, process and window system.
#include <windows.h>

#include "app/launch.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/startup_marks.h"
#include "platform/win32/window_host.h"

namespace {

// The show command the process was started with, as the system passes it on.
int StartupShowCommand() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

int Launch(HINSTANCE instance) {
#ifdef VANTREL_STARTUP_MARKS
  platform::RecordStartupMarks();
#endif
  platform::RestrictDllSearch();
  platform::WindowsShell shell;
  platform::WindowsRegistry registry;
  platform::WindowsProcess process;
  platform::Win32Host host(instance, StartupShowCommand());
  return app::RunLauncher(host, {shell, registry, process, ui::LibJpeg()}, app::EmbeddedPictures());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return Launch(instance); }
