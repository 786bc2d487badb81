// The registry over advapi32.
#pragma once

#include "platform/registry.h"

namespace platform {

class WindowsRegistry final : public Registry {
 public:
  long Open(RegistryRoot root, const std::string& path, std::uint32_t access, RegKey* key) override;
  long Query(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
             std::uint32_t* size) override;
  long Close(RegKey key) override;
};

}  // namespace platform
