// The registry probes and the string read beneath them, against a registry that replays failures.
#include <gtest/gtest.h>

#include "fakes.h"
#include "probes/probes.h"
#include "probes/registry_access.h"

namespace {

using fakes::Registry;
using platform::kClassesRoot;
using platform::kLocalMachine;

const std::string kAppInfo = "SOFTWARE\\Orun\\Vantrel\\AppInfo";

Registry::Value Raw(std::uint32_t type, std::string bytes) {
  return {type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

TEST(ReadString, ReadsStringTypesAndCutsAtTheFirstNul) {
  struct Row { const char* what; std::optional<Registry::Value> value; std::string want; std::uint32_t overReport = 0; };
  const Row rows[] = {
      {"absent", std::nullopt, ""},
      {"size 0 of any type", Raw(platform::kRegDword, ""), ""},
      {"REG_SZ", Registry::Sz("1.0"), "1.0"},
      {"REG_SZ without its NUL", Registry::Sz("1.0", false), "1.0"},
      {"REG_EXPAND_SZ, not expanded", Raw(platform::kRegExpandSz, std::string("%ProgramFiles%\\x\0", 17)),
       "%ProgramFiles%\\x"},
      {"embedded NUL", Raw(platform::kRegSz, std::string("1.0\0junk\0", 9)), "1.0"},
      {"only a NUL", Raw(platform::kRegSz, std::string("\0", 1)), ""},
      {"high bytes", Registry::Sz("v\xE9\xFF"), "v\xE9\xFF"},
      {"more bytes reported than the buffer holds", Registry::Sz("1.0", false), "1.0", 4096},
  };
  for (const Row& r : rows) {
    Registry registry;
    registry.overReport = r.overReport;
    registry.SetKey(kLocalMachine, kAppInfo);
    if (r.value) registry.Set(kLocalMachine, kAppInfo, "CurrentVersion", *r.value);
    EXPECT_EQ(probes::GetInstalledVersion(registry), r.want) << r.what;
    EXPECT_EQ(registry.OpenKeys(), 0u) << r.what << ": a key was left open";
  }
}

TEST(ReadString, OtherTypesAndFailedReadsRaiseTheirMessages) {
  struct Row { const char* what; Registry::Value value; long failData; const char* message; };
  const Row rows[] = {
      {"DWORD", Registry::Dword(1), 0, "Invalid data type for 'CurrentVersion'"},
      {"binary", Raw(platform::kRegBinary, "1.0"), 0, "Invalid data type for 'CurrentVersion'"},
      {"multi-string", Raw(7, std::string("a\0\0", 3)), 0, "Invalid data type for 'CurrentVersion'"},
      {"data query fails", Registry::Sz("1.0"), platform::kRegMoreData, "Failed to get data for 'CurrentVersion'"},
      {"data query fails before the type is looked at", Registry::Dword(1), 5, "Failed to get data for 'CurrentVersion'"},
  };
  for (const Row& r : rows) {
    Registry registry;
    registry.Set(kLocalMachine, kAppInfo, "CurrentVersion", r.value);
    registry.failDataQuery = r.failData;
    try {
      probes::GetInstalledVersion(registry);
      ADD_FAILURE() << r.what << ": no exception";
    } catch (const probes::RegistryError& e) {
      EXPECT_STREQ(e.what(), r.message) << r.what;
    }
    EXPECT_EQ(registry.OpenKeys(), 0u) << r.what << ": a key was left open";
  }
}

TEST(ReadString, TheDefaultValueIsNamedEmptyInItsMessage) {
  Registry registry;
  registry.Set(kClassesRoot, ".pdf", "", Registry::Dword(3));
  try {
    probes::IsPdfHandlerRegistered(registry);
    FAIL() << "no exception";
  } catch (const probes::RegistryError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for ''");
  }
  EXPECT_EQ(registry.OpenKeys(), 0u);
}

TEST(InstalledVersion, ReadsTheProductKeyOfTheLocalMachine) {
  Registry registry;
  EXPECT_EQ(probes::GetInstalledVersion(registry), "");
  registry.Set(kLocalMachine, kAppInfo, "CurrentVersion", Registry::Sz("4.2"));
  registry.Set(kClassesRoot, kAppInfo, "CurrentVersion", Registry::Sz("wrong root"));
  EXPECT_EQ(probes::GetInstalledVersion(registry), "4.2");
  ASSERT_FALSE(registry.opens.empty());
  EXPECT_EQ(registry.opens.back().root, kLocalMachine);
  EXPECT_EQ(registry.opens.back().path, kAppInfo);  // no leading backslash
}

TEST(OpenKeyReadOnly, FallsBackToNarrowerAccessAndKeepsTheFirstGranted) {
  struct Row { std::set<std::uint32_t> granted; std::vector<std::uint32_t> tried; std::string want; };
  const Row rows[] = {
      {{0x20019, 0x20009, 0x1}, {0x20019}, "1.0"},
      {{0x20009, 0x1}, {0x20019, 0x20009}, "1.0"},
      {{0x1}, {0x20019, 0x20009, 0x1}, "1.0"},
      {{}, {0x20019, 0x20009, 0x1}, ""},
  };
  for (const Row& r : rows) {
    Registry registry;
    registry.Set(kLocalMachine, kAppInfo, "CurrentVersion", Registry::Sz("1.0"));
    registry.grantedAccess = r.granted;
    EXPECT_EQ(probes::GetInstalledVersion(registry), r.want) << r.granted.size() << " masks granted";
    std::vector<std::uint32_t> tried;
    for (const auto& call : registry.opens) tried.push_back(call.access);
    EXPECT_EQ(tried, r.tried) << r.granted.size() << " masks granted";
    EXPECT_EQ(registry.OpenKeys(), 0u);
  }
}

TEST(PdfHandler, NeedsANonEmptyOpenCommandOfTheNamedIdentifier) {
  // opensOfSecondKey counts every open of a key other than ".pdf", whatever its path.
  struct Row { const char* what; std::function<void(Registry&)> arrange; bool want; int opensOfSecondKey; };
  const Row rows[] = {
      {"no .pdf key", [](Registry&) {}, false, 0},
      {"empty identifier: the second key is not opened",
       [](Registry& r) { r.Set(kClassesRoot, ".pdf", "", Registry::Sz("")); }, false, 0},
      {"no default value", [](Registry& r) { r.Set(kClassesRoot, ".pdf", "Content Type", Registry::Sz("application/pdf")); },
       false, 0},
      {"identifier without Shell\\Open\\Command",
       [](Registry& r) {
         r.Set(kClassesRoot, ".pdf", "", Registry::Sz("PdfDoc"));
         r.SetKey(kClassesRoot, "PdfDoc\\Shell\\Open");
       },
       false, 3},
      {"empty command",
       [](Registry& r) {
         r.Set(kClassesRoot, ".pdf", "", Registry::Sz("PdfDoc"));
         r.Set(kClassesRoot, "PdfDoc\\shell\\open\\command", "", Registry::Sz(""));
       },
       false, 1},
      {"only another verb",
       [](Registry& r) {
         r.Set(kClassesRoot, ".pdf", "", Registry::Sz("PdfDoc"));
         r.Set(kClassesRoot, "PdfDoc\\shell\\print\\command", "", Registry::Sz("print.exe"));
       },
       false, 3},
      {"any command, even of a missing program",
       [](Registry& r) {
         r.Set(kClassesRoot, ".pdf", "", Registry::Sz("PdfDoc"));
         r.Set(kClassesRoot, "PdfDoc\\Shell\\Open\\Command", "", Registry::Sz("Z:\\nowhere.exe %1"));
       },
       true, 1},
  };
  for (const Row& r : rows) {
    Registry registry;
    r.arrange(registry);
    EXPECT_EQ(probes::IsPdfHandlerRegistered(registry), r.want) << r.what;
    int second = 0;
    for (const auto& call : registry.opens) {
      EXPECT_EQ(call.root, kClassesRoot) << r.what;
      if (call.path != ".pdf") {
        ++second;
        EXPECT_EQ(call.path, "PdfDoc\\Shell\\Open\\Command") << r.what;
      }
    }
    EXPECT_EQ(second, r.opensOfSecondKey) << r.what;
    EXPECT_EQ(registry.OpenKeys(), 0u) << r.what << ": a key was left open";
  }
}

TEST(RegistryAccess, ClosesTheKeyItHolds) {
  Registry registry;
  registry.SetKey(kClassesRoot, "a");
  registry.SetKey(kClassesRoot, "b");
  {
    probes::RegistryAccess access(registry, kClassesRoot);
    ASSERT_TRUE(access.OpenKeyReadOnly("a"));
    ASSERT_TRUE(access.OpenKeyReadOnly("b"));  // the first is closed before the second is opened
    EXPECT_EQ(registry.OpenKeys(), 1u);
    EXPECT_EQ(access.ReadString("missing"), "");
  }
  EXPECT_EQ(registry.OpenKeys(), 0u);
  EXPECT_EQ(registry.closes.size(), 2u);
  probes::RegistryAccess unopened(registry, kClassesRoot);
  EXPECT_EQ(unopened.ReadString(""), "");
}

}  // namespace
