#include "util/String.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>

#include "support/Thrown.h"

namespace {

// Two Cyrillic letters (two bytes each) followed by "ab".
const std::string A = "\xD0\xB0";
const std::string B = "\xD0\xB1";
const std::string CYRILLIC_AB = A + B + "ab";

std::string take(char* buffer) {
  std::unique_ptr<char[]> owned(buffer);
  return owned.get();
}

std::string fractionDigits(int count) {
  std::string digits;
  for (int i = 0; i < count; ++i)
    digits += static_cast<char>('0' + (i * 7 + 3) % 10);
  return digits;
}

// Reference: "I.F" summed the slow way, every fraction digit divided k times by ten.
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
  EXPECT_TRUE(String::Equals("abc", "abc"));
  EXPECT_FALSE(String::Equals("abc", "ab"));
  EXPECT_EQ(take(String::Empty(3, 'x')), "xxx");
  EXPECT_EQ(take(String::Empty(-2, 'x')), "");
  EXPECT_EQ(take(String::Cut(String::Empty(5, 'y'), 2, true)), "yy");
  char text[] = "short";
  EXPECT_EQ(take(String::Cut(text, 50, false)), "short");
  EXPECT_EQ(take(String::Concat(String::Empty(1, 'a'), String::Empty(2, 'b'), true, true)), "abb");
  EXPECT_EQ(take(String::Concat(String::Empty(0), nullptr, true, true)), "");
}

TEST(String, CountsAPairOfHighBytesAsOneCharacter) {
  EXPECT_EQ(String::LengthW(CYRILLIC_AB), 4);
  EXPECT_EQ(String::LengthW("ab\xD0"), 3);        // a trailing high byte stands alone
  EXPECT_EQ(String::LengthW("\xE2\x82\xAC"), 2);  // three bytes are cut into a pair and a single
  EXPECT_EQ(take(String::CharAt(CYRILLIC_AB, 1)), B);
  EXPECT_EQ(take(String::CharAt(CYRILLIC_AB, 2)), "a");
  EXPECT_EQ(String::IndexOfW(A + "b", "b"), 1);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "ab"), 2);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "x"), -1);
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 0), B + "ab");
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 3), A + B + "a");
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 4), CYRILLIC_AB);
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, -1), CYRILLIC_AB);
}

TEST(String, FindsBytePositions) {
  EXPECT_EQ(String::IndexOf("abc", 'c'), 2);
  EXPECT_EQ(String::IndexOf("abc", 'z'), -1);
  EXPECT_EQ(String::IndexOf("abcd", "cd"), 2);
  EXPECT_EQ(String::IndexOf("abc", ""), -1);
  EXPECT_EQ(String::IndexOf("ab", "abc"), -1);
}

TEST(String, SubStrWTakesCharactersFromStart) {
  struct Case {
    int start, count;
    std::string expected;
  } cases[] = {{0, 1, A},   {1, 2, B + "a"}, {1, 0, B + "ab"}, {2, -1, "ab"},
               {3, 9, "b"}, {4, 1, ""},      {-1, 2, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(String::SubStrW(CYRILLIC_AB, c.start, c.count), c.expected)
        << c.start << "," << c.count;
  }
  EXPECT_EQ(String::SubStrW("", 0, 1), "");
}

TEST(String, SplitKeepsEmptyPiecesAndReplaceEveryOccurrence) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(String::Split("", ","), Pieces{""});
  EXPECT_EQ(String::Split("a,,b", ","), (Pieces{"a", "", "b"}));
  EXPECT_EQ(String::Split("a.b.", "."), (Pieces{"a", "b", ""}));
  EXPECT_EQ(String::Split("x::y:::z", "::"), (Pieces{"x", "y", ":z"}));
  EXPECT_EQ(String::Replace("aaa", "a", "bb"), "bbbbbb");
  EXPECT_EQ(String::Replace("a.b.c", ".", ""), "abc");
}

TEST(String, RejectsBadArgumentsWithTheDocumentedTexts) {
  std::pair<std::function<void()>, std::string> cases[] = {
      {[] { String::CharAt("", 0); }, "Out of range string"},
      {[] { String::CharAt(CYRILLIC_AB, 4); }, "Out of range string"},
      {[] { String::Split("abc", ""); }, "Invalid string separator."},
      {[] { String::Replace("abc", "", "x"); }, "Invalid string separator."},
      {[] { String::ToNumber<double>("1.2.3"); }, "Invalid number parsing"},
  };
  for (const auto& [call, expected] : cases)
    EXPECT_EQ(Thrown(call), expected);
}

TEST(String, ToNumberReadsTheDigitsOfDecimals) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {{"", 0},     {"007", 7},   {"1,5", 15}, {"-2.5", -2.5},
               {"12.", 12}, {"a1b2", 12}, {"1-2", 12}, {"0.125", 0.125}};
  for (const Case& c : cases)
    EXPECT_EQ(String::ToNumber<double>(c.text), c.expected) << c.text;
  double minusZero = String::ToNumber<double>("-");
  EXPECT_TRUE(minusZero == 0 && std::signbit(minusZero));
}

TEST(String, ToNumberMatchesRepeatedDivisionAndReadsAHugeFractionQuickly) {
  std::string text = "3." + fractionDigits(2000);
  EXPECT_EQ(String::ToNumber<double>(text), divideEachDigit(text));
  auto begin = std::chrono::steady_clock::now();
  double value = String::ToNumber<double>("1." + fractionDigits(400000));
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(500));
  EXPECT_EQ(value, divideEachDigit("1." + fractionDigits(2000)));
}

TEST(String, FormatsWithPrecision) {
  EXPECT_EQ(String::ToStringWithPrecision<double>(1.005, -1), "1.005");
  EXPECT_EQ(String::ToStringWithPrecision<double>(3, -1), "3");
  EXPECT_EQ(String::ToStringWithPrecision<double>(12.5, 0), "12");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.999, 2), "2.99");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.5, 8), "2.50000000");
  EXPECT_EQ(String::ToStringWithPrecision<int>(-3, 1), "-3.0");
  EXPECT_EQ(String::ToStringWithPrecision<int>(5, 0), "5");
  EXPECT_EQ(String::ToStringWithPrecision<int>(5, -1), "5");
}

TEST(String, HighlightWrapsInColourEscapes) {
  EXPECT_EQ(String::Highlight("x", Red), "\x1b[0;31mx\x1b[0m");
  EXPECT_EQ(String::Highlight("x", BrightWhite), "\x1b[1;37mx\x1b[0m");
  EXPECT_EQ(String::Highlight("x", static_cast<Color>(17)), "\x1b[0mx\x1b[0m");
}
