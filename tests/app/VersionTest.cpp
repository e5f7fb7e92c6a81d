#include "app/Version.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/Thrown.h"

TEST(Version, ParsesTwoToFourPartsPrintsWithoutTrailingZerosAndRejectsTheRest) {
  std::tuple<const char*, const char*, const char*> cases[] = {
      {"24.2.0.0", "24.2", ""},
      {"007.08", "7.8", ""},
      {"4294967295.1", "4294967295.1", ""},
      {"1.2.3.4.5", "", "Invalid version string"},
      {"4294967296.1", "", "Invalid version string part"}};
  for (const auto& [text, printed, failure] : cases) {
    std::string shown;
    EXPECT_EQ(Thrown([&, text = text] { shown = Version(text).ToString(); }), failure) << text;
    EXPECT_EQ(shown, printed) << text;
    EXPECT_EQ(Version::Valid(text), *failure == '\0') << text;
  }
}
