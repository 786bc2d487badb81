// Wine's registry file as the Linux registry backend reads it, and the probes over that backend.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/gtk/services.h"
#include "platform/wine/registry_file.h"
#include "probes/probes.h"
#include "probes/registry_access.h"

namespace {

const char kFile[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n\n"
    "#arch=win64\n\n"
    "[Software\\\\Orun\\\\Vantrel\\\\AppInfo] 1733600000\n"
    "#time=1db4a0e0c7d3f1a\n"
    "\"CurrentVersion\"=\"64-bit view\"\n\n"
    "[Software\\\\Wow6432Node\\\\Orun\\\\Vantrel\\\\AppInfo] 1733600000\n"
    "#time=1db4a0e0c7d3f1a\n"
    "@=\"default \\\"quoted\\\" \\\\ \\x263a\"\n"
    "\"CurrentVersion\"=\"1.1\"\r\n"
    "\"Path\"=str(2):\"%ProgramFiles%\\\\Vantrel\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"Blob\"=hex:01,02,\\\n  03,04\n"
    "\"Wide\"=hex(2):41,00,42,00,00,00\n"
    "\"Octal\"=\"\\101\\1012\\7\"\n"
    "\"Unended\"=hex(2):41,00\n"
    "\"Broken\"=dword:12\n"
    "this line is nothing this reader knows\n"
    "[Software\\\\Wow6432Node\\\\Other] 1733600000\n"
    "\"CurrentVersion\"=\"not this key's\"\n";

std::vector<std::uint8_t> Bytes(std::string_view text, bool nul = true) {
  std::vector<std::uint8_t> v(text.begin(), text.end());
  if (nul) v.push_back(0);
  return v;
}

TEST(WineRegistry, ReadsTheKeyA32BitProgramSeesWithEachKindOfValue) {
  const auto values = platform::wine::FindKey(kFile, "SOFTWARE\\ORUN\\Vantrel\\AppInfo");
  ASSERT_TRUE(values);
  struct Row { const char* name; std::uint32_t type; std::vector<std::uint8_t> data; };
  const Row rows[] = {
      {"", 1, Bytes("default \"quoted\" \\ \xE2\x98\xBA")},
      {"currentversion", 1, Bytes("1.1")},
      {"path", 2, Bytes("%ProgramFiles%\\Vantrel")},
      {"count", 4, {0x2A, 0, 0, 0}},
      {"blob", 3, {1, 2, 3, 4}},
      {"wide", 2, Bytes("AB")},
      {"octal", 1, Bytes("AA2\x07")},  // at most three octal digits: \101 then a plain 2
      {"unended", 2, Bytes("A")},       // stored without its NUL, given with one
  };
  for (const Row& r : rows) {
    const auto it = values->find(r.name);
    ASSERT_NE(it, values->end()) << r.name;
    EXPECT_EQ(it->second.type, r.type) << r.name;
    EXPECT_EQ(it->second.data, r.data) << r.name;
  }
  EXPECT_EQ(values->count("broken"), 0u);
  EXPECT_EQ(values->size(), std::size(rows));
}

TEST(WineRegistry, FindsOnlyWhatIsThereInTheRightView) {
  std::string win32(kFile);
  win32.replace(win32.find("#arch=win64"), 11, "#arch=win32");
  struct Row { const char* what; std::string text; const char* path; const char* version; };
  const Row rows[] = {
      {"64-bit prefix: the Wow6432Node key", kFile, "Software\\Orun\\Vantrel\\AppInfo", "1.1"},
      {"32-bit prefix: the key as named", win32, "Software\\Orun\\Vantrel\\AppInfo", "64-bit view"},
      {"absent key", kFile, "Software\\Orun\\Vantrel", nullptr},
      {"no registry file", "", "Software\\Orun\\Vantrel\\AppInfo", nullptr},
      {"another file", "REGEDIT4\n[Software\\Orun\\Vantrel\\AppInfo]\n", "Software\\Orun\\Vantrel\\AppInfo", nullptr},
  };
  for (const Row& r : rows) {
    const auto values = platform::wine::FindKey(r.text, r.path);
    ASSERT_EQ(values.has_value(), r.version != nullptr) << r.what;
    if (r.version) {
      EXPECT_EQ(values->at("currentversion").data, Bytes(r.version)) << r.what;
    }
  }
}

TEST(WineRegistry, FoldsCaseTheSameInATurkishLocale) {
  // There the C library's tolower leaves 'I' as it is; Wine's names fold as ASCII whatever the locale
  // (scripts/setup.sh makes the locale).
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr) << "tr_TR.UTF-8 is missing: run scripts/setup.sh";
  std::string lower(kFile);
  const std::string stored = "Wow6432Node\\\\Orun\\\\Vantrel\\\\AppInfo";
  lower.replace(lower.find(stored), stored.size(), "wow6432node\\\\orun\\\\vantrel\\\\appinfo");
  const auto values = platform::wine::FindKey(lower, "SOFTWARE\\ORUN\\VANTREL\\APPINFO");
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(values);
  EXPECT_EQ(values->count("currentversion"), 1u);
}

TEST(LinuxRegistry, TheVersionProbeReadsTheWinePrefixAfresh) {
  const auto prefix = std::filesystem::temp_directory_path() / "vantrel-wine-prefix-test";
  std::filesystem::create_directories(prefix);
  setenv("WINEPREFIX", prefix.c_str(), 1);
  platform::LinuxRegistry registry;
  auto write = [&](const std::string& text) { std::ofstream(prefix / "system.reg", std::ios::binary) << text; };
  std::filesystem::remove(prefix / "system.reg");
  EXPECT_EQ(probes::GetInstalledVersion(registry), "");  // no prefix file: nothing installed
  write(kFile);
  EXPECT_EQ(probes::GetInstalledVersion(registry), "1.1");
  std::string number(kFile);
  number.replace(number.find("\"CurrentVersion\"=\"1.1\""), 22, "\"CurrentVersion\"=dword:00000001");
  write(number);
  EXPECT_THROW(probes::GetInstalledVersion(registry), probes::RegistryError);
  // Only a regular file is read: a directory or a FIFO there is no registry (and a FIFO must not
  // block the window's thread).
  for (const char* what : {"directory", "fifo"}) {
    std::filesystem::remove(prefix / "system.reg");
    if (what == std::string("directory"))
      std::filesystem::create_directory(prefix / "system.reg");
    else
      ASSERT_EQ(mkfifo((prefix / "system.reg").c_str(), 0600), 0);
    EXPECT_EQ(probes::GetInstalledVersion(registry), "") << what;
  }
  std::filesystem::remove_all(prefix);
}

}  // namespace
