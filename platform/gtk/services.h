// The registry, the shell and the process on a Linux desktop: GIO's default applications, the user's
// Wine prefix, and /proc/self/exe.
#pragma once

#include <map>
#include <string>

#include "platform/wine/registry_file.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace platform {

// The two roots the launcher asks, answered where a Linux desktop keeps the same facts:
// - HKEY_CLASSES_ROOT: ".pdf" exists when the desktop has a default application for
//   application/pdf, and names it; that name's Shell\Open\Command holds its command line.
// - HKEY_LOCAL_MACHINE: the user's Wine prefix ($WINEPREFIX, else ~/.wine), read from its
//   system.reg in the view a 32-bit program sees, so a Vantrel installed under Wine is upgraded.
//   Wine writes that file about every 30 s, so an install is seen once it has been written.
// Every Open reads afresh; a missing or malformed prefix is "not found".
class LinuxRegistry final : public Registry {
 public:
  long Open(RegistryRoot root, const std::string& path, std::uint32_t access, RegKey* key) override;
  long Query(RegKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
             std::uint32_t* size) override;
  long Close(RegKey key) override;

 private:
  std::map<RegKey, wine::Values> open_;
  RegKey next_ = 1;
};

// Hands requests to the desktop without waiting: web addresses and documents open in the user's
// default applications; a Windows program (by its content type, never by its name's case) goes to
// the application set as the default for Windows programs (never one that merely lists the type,
// such as an archive manager), else to Wine (`wine start /d DIR /unix FILE`, from an absolute folder
// of PATH), else nowhere. Backslash paths are taken relative to the request's directory, or the
// current one.
class LinuxShell final : public Shell {
 public:
  void Execute(const ShellRequest& request) override;
};

// The executable from /proc/self/exe; paths are UTF-8 and separated by slashes.
class LinuxProcess final : public Process {
 public:
  std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override;
  std::uint32_t ModuleFileNameUtf8(char* buffer, std::uint32_t size) override { return ModuleFileName(buffer, size); }
  bool AnsiNamesSame(std::string_view, std::string_view) override { return true; }
  bool IsLeadByte(unsigned char) override { return false; }
  char Separator() override { return '/'; }
};

}  // namespace platform
