// The launcher's own folder from its module file name.
#include <gtest/gtest.h>

#include "fakes.h"
#include "shell/launcher_folder.h"

namespace {

bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool NoLead(unsigned char) { return false; }

TEST(LauncherFolder, IsEverythingBeforeTheLastBackslash) {
  struct Row { std::string path; bool cp932; std::string want; };
  const Row rows[] = {
      {"E:\\Launch.exe", false, "E:"},
      {"C:\\Temp\\Disc\\Launch.exe", false, "C:\\Temp\\Disc"},
      {"\\\\server\\share\\Launch.exe", false, "\\\\server\\share"},
      {"Launch.exe", false, ""},
      {"", false, ""},
      {"C:\\Disc\\", false, "C:\\Disc"},
      // "表" is 0x95 0x5C in code page 932: its trail byte is no separator.
      {"C:\\\x95\x5C\\Launch.exe", true, "C:\\\x95\x5C"},
      {"C:\\Disc\\\x95\x5C.exe", true, "C:\\Disc"},
      {"C:\\Disc\\\x95\x5C.exe", false, "C:\\Disc\\\x95"},  // a single-byte code page: it is one
      {"C:\\\x95", true, "C:"},                               // a lead byte at the very end
  };
  for (const Row& r : rows) {
    EXPECT_EQ(shell::FolderOf(r.path, r.cp932 ? Cp932Lead : NoLead), r.want) << r.path;
  }
}

TEST(LauncherFolder, ReadsTheModuleFileNameAndTheCodePagesLeadBytes) {
  fakes::Process process;
  process.path = "D:\\\x95\x5C\\Launch.exe";
  for (int b = 0x81; b <= 0x9F; ++b) process.leadBytes.insert(static_cast<unsigned char>(b));
  EXPECT_EQ(shell::LauncherFolder(process), "D:\\\x95\x5C");
  process.fail = true;
  EXPECT_EQ(shell::LauncherFolder(process), "");
  process.fail = false;
  process.path = "C:\\" + std::string(300, 'x') + "\\Launch.exe";  // cut at 260 characters
  EXPECT_EQ(shell::LauncherFolder(process), "C:");
}

}  // namespace
