// The two registry questions that steer the launcher window.
#include "probes/probes.h"

#include "probes/registry_access.h"

namespace probes {

bool IsPdfHandlerRegistered(platform::Registry& registry) {
  RegistryAccess access(registry, platform::kClassesRoot);
  if (!access.OpenKeyReadOnly(".pdf")) return false;
  const std::string progId = access.ReadString("");
  access.CloseKey();
  if (progId.empty()) return false;
  if (!access.OpenKeyReadOnly(progId + "\\Shell\\Open\\Command")) return false;
  const bool registered = !access.ReadString("").empty();
  access.CloseKey();
  return registered;
}

std::string GetInstalledVersion(platform::Registry& registry) {
  RegistryAccess access(registry, platform::kLocalMachine);
  if (!access.OpenKeyReadOnly("SOFTWARE\\Orun\\Vantrel\\AppInfo")) return {};
  std::string version = access.ReadString("CurrentVersion");
  access.CloseKey();
  return version;
}

}  // namespace probes
