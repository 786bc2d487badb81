// A registry access object: one root and at most one open key, closed on every path.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/registry.h"

namespace probes {

// Raised when a value exists but cannot be read as the string asked for.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyReadNoNotify = 0x20009;  // STANDARD_RIGHTS_READ | QUERY_VALUE | ENUMERATE_SUB_KEYS
inline constexpr std::uint32_t kKeyQueryValue = 0x1;

class RegistryAccess {
 public:
  RegistryAccess(platform::Registry& registry, platform::RegistryRoot root) : registry_(registry), root_(root) {}
  ~RegistryAccess() { CloseKey(); }
  RegistryAccess(const RegistryAccess&) = delete;
  RegistryAccess& operator=(const RegistryAccess&) = delete;

  // Opens `path` below the root read-only, trying the narrower access masks when one is refused.
  // Any key open before is closed first.
  [[nodiscard]] bool OpenKeyReadOnly(const std::string& path);
  // The open key's value `name` as a string: empty when absent or of size 0; RegistryError when it is
  // not a string type or its data cannot be fetched. Cut at the first NUL.
  std::string ReadString(const std::string& name);
  void CloseKey();

 private:
  platform::Registry& registry_;
  platform::RegistryRoot root_;
  platform::RegKey key_ = 0;
  bool open_ = false;
};

}  // namespace probes
