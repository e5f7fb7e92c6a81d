#include "util/String.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>

#include "support/Thrown.h"

namespace {

// Two Cyrillic letters (two bytes each) followed by "ab".
const std::string A = "\xD0\xB0";
const std::string B = "\xD0\xB1";
const std::string CYRILLIC_AB = A + B + "ab";

std::string take(char* buffer) {
  return std::unique_ptr<char[]>(buffer).get();
}

// "I.F" summed the slow way, every fraction digit divided k times by ten.
double divideEachDigit(const std::string& text) {
  size_t point = text.find('.');
  double value = std::stod(text.substr(0, point));
  for (size_t k = 1; point + k < text.size(); ++k) {
    double share = text[point + k] - '0';
    for (size_t i = 0; i < k; ++i)
      share /= 10.0;
    value += share;
  }
  return value;
}

}  // namespace

TEST(String, BufferHelpersCopyAndRelease) {
  EXPECT_EQ(take(String::Empty(-2, 'x')), "");
  EXPECT_EQ(take(String::Cut(String::Empty(5, 'y'), 2, true)), "yy");
  EXPECT_EQ(take(String::Concat(String::Empty(1, 'a'), String::Empty(2, 'b'), true, true)), "abb");
}

TEST(String, CountsAPairOfHighBytesAsOneCharacter) {
  EXPECT_EQ(String::LengthW(CYRILLIC_AB), 4);
  EXPECT_EQ(String::LengthW("\xE2\x82\xAC"), 2);  // three bytes are cut into a pair and a single
  EXPECT_EQ(take(String::CharAt(CYRILLIC_AB, 1)), B);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "ab"), 2);
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 0), B + "ab");
  EXPECT_EQ(String::SubStrW(CYRILLIC_AB, 1, 2), B + "a");
  EXPECT_EQ(String::SubStrW(CYRILLIC_AB, 1, 0), B + "ab");  // a count of 0 takes the rest
  EXPECT_EQ(String::SubStrW(CYRILLIC_AB, -1, 2), "");
}

TEST(String, SplitKeepsEmptyPiecesAndReplaceEveryOccurrence) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(String::Split("x::y:::z,", "::"), (Pieces{"x", "y", ":z,"}));
  EXPECT_EQ(String::Split("a,,b,", ","), (Pieces{"a", "", "b", ""}));
  EXPECT_EQ(String::Replace("aaa", "a", "bb"), "bbbbbb");
  EXPECT_EQ(Thrown([] { String::Split("abc", ""); }), "Invalid string separator.");
  EXPECT_EQ(Thrown([] { String::CharAt(CYRILLIC_AB, 4); }), "Out of range string");
}

TEST(String, ToNumberReadsTheDigitsOfDecimals) {
  std::pair<const char*, double> cases[] = {{"", 0},     {"1,5", 15},  {"-2.5", -2.5},
                                            {"12.", 12}, {"a1b2", 12}, {"1-2", 12}};
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(String::ToNumber<double>(text), expected) << text;
  EXPECT_TRUE(std::signbit(String::ToNumber<double>("-")));
  EXPECT_EQ(Thrown([] { String::ToNumber<double>("1.2.3"); }), "Invalid number parsing");
}

TEST(String, ToNumberMatchesRepeatedDivisionAndReadsAHugeFractionQuickly) {
  std::string digits;
  for (int i = 0; i < 400000; ++i)
    digits += static_cast<char>('0' + (i * 7 + 3) % 10);
  auto begin = std::chrono::steady_clock::now();
  double value = String::ToNumber<double>("1." + digits);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(500));
  EXPECT_EQ(value, divideEachDigit("1." + digits.substr(0, 2000)));
}

TEST(String, FormatsWithPrecisionAndHighlights) {
  EXPECT_EQ(String::ToStringWithPrecision<double>(1.005, -1), "1.005");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.999, 2), "2.99");
  EXPECT_EQ(String::ToStringWithPrecision<int>(-3, 1), "-3.0");
  EXPECT_EQ(String::Highlight("x", BrightWhite), "\x1b[1;37mx\x1b[0m");
}
