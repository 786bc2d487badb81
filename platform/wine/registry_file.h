// Reads keys from a Wine registry file (system.reg of a Wine prefix): the registry of Windows
// programs installed under Wine, for a platform whose own desktop keeps no registry. Plain C++ on a
// text, so it is unit-tested and fuzzed anywhere.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::wine {

struct Value {
  std::uint32_t type = 0;          // the registry type: 1 string, 2 expandable string, 4 dword, ...
  std::vector<std::uint8_t> data;  // strings as UTF-8 with their terminating NUL
};

// A key's values by name, lower-cased (names are compared without regard to case); "" is the
// default value.
using Values = std::map<std::string, Value>;

// The values of the key at `path` (backslash-separated, compared without regard to case) in the
// registry file `text`, in the view a 32-bit Windows program sees: in a 64-bit prefix, Software's
// keys of 32-bit programs live under Software\Wow6432Node. Nothing when the key is not there or the
// text is no Wine registry file.
std::optional<Values> FindKey(std::string_view text, std::string_view path);

}  // namespace platform::wine
