// A registry access object: one root and at most one open key, closed on every path.
#include "probes/registry_access.h"

#include <algorithm>
#include <vector>

namespace probes {

bool RegistryAccess::OpenKeyReadOnly(const std::string& path) {
  CloseKey();
  for (std::uint32_t access : {kKeyRead, kKeyReadNoNotify, kKeyQueryValue}) {
    platform::RegKey key = 0;
    if (registry_.Open(root_, path, access, &key) == platform::kRegSuccess) {
      key_ = key;
      open_ = true;
      return true;
    }
  }
  return false;
}

std::string RegistryAccess::ReadString(const std::string& name) {
  if (!open_) return {};
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry_.Query(key_, name, &type, nullptr, &size) != platform::kRegSuccess || size == 0) return {};

  std::vector<std::uint8_t> data(size);
  std::uint32_t got = size;
  if (registry_.Query(key_, name, &type, data.data(), &got) != platform::kRegSuccess)
    throw RegistryError("Failed to get data for '" + name + "'");
  if (type != platform::kRegSz && type != platform::kRegExpandSz)
    throw RegistryError("Invalid data type for '" + name + "'");

  // Never trust the size handed back beyond the buffer, nor expect a terminating NUL.
  const auto end = data.begin() + std::min<std::size_t>(got, data.size());
  return std::string(data.begin(), std::find(data.begin(), end, std::uint8_t{0}));
}

void RegistryAccess::CloseKey() {
  if (!open_) return;
  open_ = false;
  registry_.Close(key_);  // closing does not flush; its result changes nothing here
}

}  // namespace probes
