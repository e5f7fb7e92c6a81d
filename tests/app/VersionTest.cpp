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

TEST(Version, ComparesOverTheChosenNumberOfLeadingParts) {
  const struct {
    const char *left, *right;
    int depth;
    bool equal, greater, less;
  } cases[] = {
      {"24.2.1", "24.2.3", 2, true, false, false},   {"24.2.1", "24.2.3", 3, false, false, true},
      {"24.3", "24.2.9", 1, true, false, false},     {"24.3", "24.2.9", 2, false, true, false},
      {"1.0.0.2", "1.0.0.1", 3, true, false, false}, {"1.0.0.2", "1.0.0.1", 0, false, true, false},
      {"1.0.0.2", "1.0.0.1", 4, false, true, false},
  };
  for (const auto& test : cases) {
    Version left(test.left), right(test.right);
    EXPECT_EQ(left.Equals(&right, test.depth), test.equal) << test.left << " " << test.depth;
    EXPECT_EQ(left.Greater(&right, test.depth), test.greater) << test.left << " " << test.depth;
    EXPECT_EQ(left.Less(&right, test.depth), test.less) << test.left << " " << test.depth;
  }
}
