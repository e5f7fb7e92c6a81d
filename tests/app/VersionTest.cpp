#include "app/Version.h"

#include <gtest/gtest.h>

#include "support/Thrown.h"

TEST(Version, ParsesTwoToFourPartsAndPrintsWithoutTrailingZeros) {
  std::pair<const char*, const char*> cases[] = {
      {"1.24.2.1", "1.24.2.1"}, {"24.2.0.0", "24.2"}, {"1.2.0.5", "1.2.0.5"},
      {"007.08", "7.8"},        {"0.0", "0.0"},       {"4294967295.1", "4294967295.1"}};
  for (const auto& [text, printed] : cases) {
    EXPECT_EQ(Version(text).ToString(), printed) << text;
    EXPECT_TRUE(Version::Valid(text)) << text;
  }
  EXPECT_EQ(Version().ToString(), "0.0");
}

TEST(Version, RejectsBadTextsWithTheDocumentedFailure) {
  std::pair<const char*, const char*> cases[] = {
      {"1", "Invalid version string"},         {"1.2.3.4.5", "Invalid version string"},
      {"1..2", "Invalid version string part"}, {" 1.2", "Invalid version string part"},
      {"1.2.", "Invalid version string part"}, {"4294967296.1", "Invalid version string part"}};
  for (const auto& [text, failure] : cases) {
    EXPECT_EQ(Thrown([&] { Version version(text); }), failure) << text;
    EXPECT_FALSE(Version::Valid(text)) << text;
  }
}

TEST(Version, ComparesOverTheChosenDepthAsUnsignedNumbers) {
  Version a("1.24.0.0"), b("1.24.9.9"), two("2.0"), old("1.99"), high("4294967295.0");
  EXPECT_TRUE(a.Equals(&b, 2));
  EXPECT_TRUE(a.Less(&b, 0));
  EXPECT_TRUE(b.Greater(&a, 7));  // any depth outside 1 to 3 compares all parts
  EXPECT_TRUE(two.Greater(&old, 1));
  EXPECT_FALSE(a.Less(&a, 0));
  EXPECT_TRUE(high.Greater(&two, 1));
}

TEST(Version, ReconfigureRepairsAnyTextIntoFourParts) {
  std::pair<const char*, const char*> cases[] = {
      {"", "1.0.0.0"},           {"24.2.", "24.2.0.0"},  {"24.x.5", "24.0.0.0"},
      {"007", "007.0.0.0"},      {"1.2.3.4", "1.2.3.4"}, {"24.4294967296.1", "24.0.0.0"},
      {"99999999999", "1.0.0.0"}};
  for (const auto& [text, repaired] : cases) {
    EXPECT_EQ(Version::Reconfigure(text), repaired) << text;
    EXPECT_TRUE(Version::Valid(repaired)) << text;
  }
}
