#include "app/Version.h"

#include <gtest/gtest.h>

#include "app/Versions.h"
#include "support/Thrown.h"

namespace {

std::string failureOf(const std::string& text) {
  return Thrown([&] { Version version(text); });
}

}  // namespace

TEST(Version, ParsesTwoToFourPartsAndPrintsWithoutTrailingZeros) {
  struct Case {
    const char* text;
    const char* printed;
  } cases[] = {
      {"1.24.2.1", "1.24.2.1"},         {"24.2.0.0", "24.2"}, {"1.2.3.0", "1.2.3"},
      {"1.2.0.5", "1.2.0.5"},           {"007.08", "7.8"},    {"0.0", "0.0"},
      {"4294967295.1", "4294967295.1"},
  };
  for (const Case& c : cases) {
    Version version(c.text);
    EXPECT_EQ(version.ToString(), c.printed) << c.text;
    EXPECT_TRUE(Version::Valid(c.text)) << c.text;
  }
}

TEST(Version, RejectsBadTextsWithTheDocumentedFailure) {
  struct Case {
    const char* text;
    const char* failure;
  } cases[] = {
      {"1", "Invalid version string"},
      {"1.2.3.4.5", "Invalid version string"},
      {"", "Invalid version string"},
      {"1..2", "Invalid version string part"},
      {"1.a", "Invalid version string part"},
      {" 1.2", "Invalid version string part"},
      {"+1.2", "Invalid version string part"},
      {"1.2.", "Invalid version string part"},
      {"4294967296.1", "Invalid version string part"},
      {"1.99999999999999999999", "Invalid version string part"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(failureOf(c.text), c.failure) << c.text;
    EXPECT_FALSE(Version::Valid(c.text)) << c.text;
  }
}

TEST(Version, ComparesOverTheChosenDepth) {
  Version a("1.24.0.0"), b("1.24.9.9"), two("2.0"), old("1.99");
  EXPECT_TRUE(a.Equals(&b, 2));
  EXPECT_FALSE(a.Equals(&b, 0));
  EXPECT_TRUE(a.Less(&b, 0));
  EXPECT_TRUE(b.Greater(&a, 4));
  EXPECT_TRUE(b.Greater(&a, 7));  // any depth outside 1 to 3 compares all parts
  EXPECT_TRUE(two.Greater(&old, 1));
  EXPECT_FALSE(two.Less(&old, 0));
  for (int depth = 0; depth <= 4; depth++) {
    EXPECT_FALSE(a.Less(&a, depth));
    EXPECT_FALSE(a.Greater(&a, depth));
  }
  Version high("4294967295.0"), low("1.0");
  EXPECT_TRUE(high.Greater(&low, 1));  // parts compare as unsigned numbers
}

TEST(Version, CopiesAndDefaultsToZero) {
  Version source("3.4.5.6");
  Version copy(&source);
  EXPECT_EQ(copy.ToString(), "3.4.5.6");
  EXPECT_EQ(Version().ToString(), "0.0");
  EXPECT_EQ(Versions::Core_24_2.ToString(), "24.2");
  EXPECT_EQ(Versions::Core_24_2.Part(1), 2u);
}

TEST(Version, ReconfigureRepairsAnyTextIntoFourParts) {
  struct Case {
    const char* text;
    const char* repaired;
  } cases[] = {
      {"", "1.0.0.0"},
      {"24", "24.0.0.0"},
      {"24.2.", "24.2.0.0"},
      {"24.x.5", "24.0.0.0"},
      {"x", "1.0.0.0"},
      {"007", "007.0.0.0"},
      {"1.2.3.4", "1.2.3.4"},
      {"1.2.3.4.5", "1.2.3.4.5"},
      // a part too large for a version ends the walk like a non-digit piece
      {"24.4294967296.1", "24.0.0.0"},
      {"99999999999", "1.0.0.0"},
      {"4294967295", "4294967295.0.0.0"},
  };
  for (const Case& c : cases) {
    std::string repaired = Version::Reconfigure(c.text);
    EXPECT_EQ(repaired, c.repaired) << c.text;
    EXPECT_EQ(Version::Valid(repaired), std::string(c.text) != "1.2.3.4.5") << c.text;
  }
}
