// The registry over advapi32.
#include "platform/win32/registry.h"

#include <windows.h>

namespace platform {

long WindowsRegistry::Open(RegistryRoot root, const std::string& path, std::uint32_t access, RegKey* key) {
  REGSAM sam = access;
#ifdef _WIN64
  // The 64-bit test build reads what the 32-bit release reads on 64-bit Windows: the 32-bit view of
  // HKEY_LOCAL_MACHINE. File-type keys under HKEY_CLASSES_ROOT are shared by both views and take no flag.
  if (root == kLocalMachine) sam |= KEY_WOW64_32KEY;
#endif
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExA(root == kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT, path.c_str(), 0, sam,
                                &opened);
  if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
  return rc;
}

long WindowsRegistry::Query(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* size) {
  DWORD t = 0;
  DWORD s = *size;
  const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr, &t, data, &s);
  *type = t;
  *size = s;
  return rc;
}

long WindowsRegistry::Close(RegKey key) { return RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace platform
