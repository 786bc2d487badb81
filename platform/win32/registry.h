// The registry over advapi32.
#pragma once

#include "platform/registry.h"

namespace platform {

class WindowsRegistry final : public Registry {
 public:
  long Open(RegHandle parent, const std::string& subKey, std::uint32_t access, RegHandle* key) override;
  long Query(RegHandle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
             std::uint32_t* size) override;
  long Close(RegHandle key) override;
};

}  // namespace platform
