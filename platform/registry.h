// The read-only registry operations the probes use, with the platform's own error codes.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using RegHandle = std::uintptr_t;

inline constexpr RegHandle kClassesRoot = 0x80000000;
inline constexpr RegHandle kLocalMachine = 0x80000002;

inline constexpr long kRegSuccess = 0;          // ERROR_SUCCESS
inline constexpr long kRegNotFound = 2;         // ERROR_FILE_NOT_FOUND
inline constexpr long kRegAccessDenied = 5;     // ERROR_ACCESS_DENIED
inline constexpr long kRegMoreData = 234;       // ERROR_MORE_DATA

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

class Registry {
 public:
  virtual ~Registry() = default;
  // RegOpenKeyExA: opens `subKey` below `parent` (a root or an open key) with `access`.
  virtual long Open(RegHandle parent, const std::string& subKey, std::uint32_t access, RegHandle* key) = 0;
  // RegQueryValueExA: with `data` null only the type and size are asked for; `size` is in bytes.
  virtual long Query(RegHandle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) = 0;
  // RegCloseKey.
  virtual long Close(RegHandle key) = 0;
};

}  // namespace platform
