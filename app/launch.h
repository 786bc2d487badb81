// Start-up: the application title, the one window and the event loop.
#pragma once

#include "launcher/launcher.h"
#include "platform/window_host.h"

namespace app {

// Builds frmMain at the host's pixel density and runs it; returns the exit code.
int RunLauncher(platform::WindowHost& host, const launcher::Services& services, const launcher::Pictures& pictures);

// The pictures embedded in the program.
launcher::Pictures EmbeddedPictures();

}  // namespace app
