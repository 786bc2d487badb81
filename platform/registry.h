// The read-only registry operations the probes use, with the platform's own error codes.
//
// The contract every backend keeps:
// - Keys are opened below one of the typed roots by a path of names separated by backslashes, with
//   no leading backslash, compared without regard to case.
// - HKEY_LOCAL_MACHINE is the view a 32-bit Windows program reads (on 64-bit Windows, the 32-bit
//   view); HKEY_CLASSES_ROOT is the one both views share.
// - A value is read in two calls: first with no buffer, for its type and size in bytes; then with a
//   buffer of that size. The size handed back may differ from what was asked for, and the data need
//   not end in a NUL.
// - Results are Windows' error codes: 0 for success, 2 for a key or value that is not there, 5 for
//   access denied, 234 when the buffer is too small; any other non-zero code is a failure too.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class RegistryRoot { kClassesRoot, kLocalMachine };
inline constexpr RegistryRoot kClassesRoot = RegistryRoot::kClassesRoot;
inline constexpr RegistryRoot kLocalMachine = RegistryRoot::kLocalMachine;

using RegKey = std::uintptr_t;  // an open key, as the backend knows it

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
  // Opens `path` below `root` with `access` (Windows' access mask bits).
  virtual long Open(RegistryRoot root, const std::string& path, std::uint32_t access, RegKey* key) = 0;
  // Asks for a value of an open key: with `data` null only its type and size; `size` is in bytes,
  // the buffer's size on the way in and the value's on the way out.
  virtual long Query(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) = 0;
  virtual long Close(RegKey key) = 0;
};

}  // namespace platform
