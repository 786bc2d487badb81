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
    EXPECT_EQ(shell::FolderOf(r.path, '\\', r.cp932 ? Cp932Lead : NoLead), r.want) << r.path;
  }
}

TEST(LauncherFolder, ReadsTheModuleFileNameAndTheCodePagesLeadBytes) {
  fakes::Process process;
  process.path = "D:\\\x95\x5C\\Launch.exe";
  for (int b = 0x81; b <= 0x9F; ++b) process.leadBytes.insert(static_cast<unsigned char>(b));
  EXPECT_EQ(shell::LauncherFolder(process)->path, "D:\\\x95\x5C");
  process.fail = true;
  EXPECT_FALSE(shell::LauncherFolder(process));
  // Where the separator is the slash, a backslash is part of a name.
  process.fail = false;
  process.separator = '/';
  process.path = "/media/cdrom/a\\b/Launch.x86_64";
  EXPECT_EQ(shell::LauncherFolder(process)->path, "/media/cdrom/a\\b");
}

TEST(WholePath, GrowsTheBufferWhileTheResultFillsIt) {
  struct Row { std::size_t length; std::uint32_t failFrom; std::vector<std::uint32_t> sizes; bool whole; };
  const Row rows[] = {
      {259, 0, {260}, true},
      {260, 0, {260, 520}, true},  // exactly filled is taken for cut, as Windows XP leaves no NUL to tell
      {300, 0, {260, 520}, true},
      {5000, 0, {260, 520, 1040, 2080, 4160, 8320}, true},
      {32767, 0, {260, 520, 1040, 2080, 4160, 8320, 16640, 32768}, true},
      {40000, 0, {260, 520, 1040, 2080, 4160, 8320, 16640, 32768}, false},
      {300, 520, {260, 520}, false},  // the longer read fails
  };
  for (const Row& r : rows) {
    fakes::Process process;
    process.path = "C:\\" + std::string(r.length - 3, 'x');
    process.failFrom = r.failFrom;
    const auto path = shell::WholePath([&](char* b, std::uint32_t n) { return process.ModuleFileName(b, n); },
                                       shell::kLongestPath);
    EXPECT_EQ(path.has_value(), r.whole) << r.length << " characters";
    if (path) {
      EXPECT_EQ(*path, process.path) << r.length << " characters";
    }
    EXPECT_EQ(process.sizesAsked, r.sizes) << r.length << " characters";
  }
}

}  // namespace
