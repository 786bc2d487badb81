// One request to the shell to open a document, a web address or a program: the platform's request,
// under the name the launcher's handlers use.
#pragma once

#include "platform/shell.h"

namespace shell {

using ShellOpenRequest = platform::ShellRequest;

}  // namespace shell
