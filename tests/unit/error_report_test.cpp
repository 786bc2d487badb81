// The default error report.
#include <gtest/gtest.h>

#include "app/error_report.h"

namespace {

TEST(ErrorReport, AddsAFullStopOnlyAfterCharactersAboveTheFullStop) {
  struct Row { std::string message; std::string want; };
  const Row rows[] = {
      {"Invalid data type for 'CurrentVersion'", "Invalid data type for 'CurrentVersion'"},
      {"Invalid class typecast", "Invalid class typecast."},
      {"Done.", "Done."},
      {"Really!", "Really!"},
      {"(see above)", "(see above)"},
      {"a, b,", "a, b,"},
      {"minus -", "minus -"},
      {"slash /", "slash /."},  // 0x2F
      {"digit 7", "digit 7."},
      {"trailing space ", "trailing space "},
      {"tab\t", "tab\t"},
      {"", ""},
      {"caf\xE9", "caf\xE9."},  // above 0x7F counts as above 0x2E
  };
  for (const Row& r : rows) EXPECT_EQ(app::WithFullStop(r.message), r.want) << r.message;
}

TEST(ErrorReport, ShowsTheMessageCaptionedWithTheTitle) {
  const auto report = app::ReportFor(std::make_exception_ptr(std::runtime_error("Failed to get data for ''")));
  ASSERT_TRUE(report);
  EXPECT_EQ(*report, (platform::ErrorMessage{"Failed to get data for ''", "Vantrel Setup"}));
  EXPECT_FALSE(app::ReportFor(std::make_exception_ptr(app::SilentAbort())));
  const auto unknown = app::ReportFor(std::make_exception_ptr(42));
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->text, "Unknown exception.");
}

}  // namespace
