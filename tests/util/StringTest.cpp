#include "util/String.h"

#include <gtest/gtest.h>

#include "support/Thrown.h"

namespace {

// Two Cyrillic letters (two bytes each) followed by "ab".
const std::string B = "\xD0\xB1";
const std::string CYRILLIC_AB = "\xD0\xB0" + B + "ab";

}  // namespace

TEST(String, CountsAPairOfHighBytesAsOneCharacter) {
  EXPECT_EQ(String::LengthW(CYRILLIC_AB), 4);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "ab"), 2);
  EXPECT_EQ(String::SubStrW(CYRILLIC_AB, 1, 2), B + "a");
  EXPECT_EQ(String::SubStrW(CYRILLIC_AB, 1, 0), B + "ab");  // a count of 0 takes the rest
}

TEST(String, SplitKeepsEmptyPiecesAndReplaceEveryOccurrence) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(String::Split("x::y:::z,", "::"), (Pieces{"x", "y", ":z,"}));
  EXPECT_EQ(String::Split("a,,b,", ","), (Pieces{"a", "", "b", ""}));
  EXPECT_EQ(String::Replace("aaa", "a", "bb"), "bbbbbb");
  EXPECT_EQ(Thrown([] { String::Split("abc", ""); }), "Invalid string separator.");
}

TEST(String, ToNumberReadsTheDigitsOfDecimals) {
  std::pair<const char*, double> cases[] = {{"", 0}, {"1,5", 15}, {"-2.5", -2.5}, {"a1b2", 12}};
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(String::ToNumber<double>(text), expected) << text;
  EXPECT_EQ(Thrown([] { String::ToNumber<double>("1.2.3"); }), "Invalid number parsing");
}

TEST(String, FindsNoEmptyOrLongerNeedleAndComparesMissingTexts) {
  EXPECT_EQ(String::IndexOf("abc", std::string()), -1);
  EXPECT_EQ(String::IndexOf("ab", std::string("abc")), -1);
  EXPECT_EQ(String::IndexOf("abc", std::string("abc")), 0);
  EXPECT_EQ(String::IndexOf("abcbc", std::string("bc")), 1);
  EXPECT_TRUE(String::Equals(nullptr, nullptr));
  EXPECT_FALSE(String::Equals(nullptr, ""));
  EXPECT_FALSE(String::Equals("a", nullptr));
  EXPECT_TRUE(String::Equals("a", "a"));
}

// The C-string helpers free only the buffers they are told to own.
TEST(String, ConcatAndCutReleaseOnlyTheBuffersGivenToThem) {
  char kept[] = "cd";
  char* cut = String::Cut(String::Concat(nullptr, kept, false, false), 1, true);
  char* joined = String::Concat(cut, kept, true, false);
  EXPECT_STREQ(joined, "ccd");
  delete[] joined;
}
