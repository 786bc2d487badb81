// The registry over advapi32.
#include "platform/win32/registry.h"

#include <windows.h>

namespace platform {

namespace {

HKEY ToHkey(RegHandle handle) {
  switch (handle) {
    case kClassesRoot: return HKEY_CLASSES_ROOT;
    case kLocalMachine: return HKEY_LOCAL_MACHINE;
    default: return reinterpret_cast<HKEY>(handle);
  }
}

}  // namespace

long WindowsRegistry::Open(RegHandle parent, const std::string& subKey, std::uint32_t access, RegHandle* key) {
  REGSAM sam = access;
#ifdef _WIN64
  // The 64-bit test build reads what the 32-bit release reads on 64-bit Windows: the 32-bit view of
  // HKEY_LOCAL_MACHINE. File-type keys under HKEY_CLASSES_ROOT are shared by both views and take no flag.
  if (parent == kLocalMachine) sam |= KEY_WOW64_32KEY;
#endif
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, sam, &opened);
  if (rc == ERROR_SUCCESS) *key = reinterpret_cast<RegHandle>(opened);
  return rc;
}

long WindowsRegistry::Query(RegHandle key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* size) {
  DWORD t = 0;
  DWORD s = *size;
  const LONG rc = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &t, data, &s);
  *type = t;
  *size = s;
  return rc;
}

long WindowsRegistry::Close(RegHandle key) { return RegCloseKey(ToHkey(key)); }

}  // namespace platform
