// The two registry questions that steer the launcher window.
#pragma once

#include <string>

#include "platform/registry.h"

namespace probes {

// Whether a program is registered to open PDF documents: ".pdf" names a program identifier whose
// Shell\Open\Command has a non-empty default value.
bool IsPdfHandlerRegistered(platform::Registry& registry);

// The installed product version as stored, or empty when none is recorded.
std::string GetInstalledVersion(platform::Registry& registry);

}  // namespace probes
