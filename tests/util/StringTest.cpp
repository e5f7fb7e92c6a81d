#include "util/String.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

// Two Cyrillic letters (two bytes each) followed by "ab".
const std::string CYRILLIC_AB =
    "\xD0\xB0\xD0\xB1"
    "ab";

std::string take(char* buffer) {
  std::unique_ptr<char[]> owned(buffer);
  return owned.get();
}

std::string fractionDigits(int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) {
    digits += static_cast<char>('0' + (i * 7 + 3) % 10);
  }
  return digits;
}

// Reference: "I.F" summed the slow way, every fraction digit divided k times by ten.
double divideEachDigit(const std::string& text) {
  size_t point = text.find('.');
  double value = std::stod(text.substr(0, point));
  for (size_t k = 1; point + k < text.size(); ++k) {
    double share = text[point + k] - '0';
    for (size_t i = 0; i < k; ++i) {
      share /= 10.0;
    }
    value += share;
  }
  return value;
}

}  // namespace

TEST(String, BufferHelpersCopyAndRelease) {
  EXPECT_EQ(String::Length("abc"), 3);
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

TEST(String, CountsTwoByteCharactersAsOne) {
  EXPECT_EQ(String::LengthW(CYRILLIC_AB), 4);
  EXPECT_EQ(String::LengthW(""), 0);
  EXPECT_EQ(String::LengthW("ab\xD0"), 3);        // a trailing high byte stands alone
  EXPECT_EQ(String::LengthW("\xE2\x82\xAC"), 2);  // three bytes are cut into a pair and a single
  EXPECT_EQ(take(String::CharAt(CYRILLIC_AB, 1)), "\xD0\xB1");
  EXPECT_EQ(take(String::CharAt(CYRILLIC_AB, 2)), "a");
}

TEST(String, CharAtThrowsPastTheEnd) {
  EXPECT_THROW(String::CharAt("", 0), const char*);
  try {
    String::CharAt(CYRILLIC_AB, 4);
    FAIL();
  } catch (const char* message) {
    EXPECT_STREQ(message, "Out of range string");
  }
}

TEST(String, FindsBytesAndCharacters) {
  EXPECT_EQ(String::IndexOf("abc", 'c'), 2);
  EXPECT_EQ(String::IndexOf("abc", 'z'), -1);
  EXPECT_EQ(String::IndexOf("abcd", "cd"), 2);
  EXPECT_EQ(String::IndexOf("abc", ""), -1);
  EXPECT_EQ(String::IndexOf("ab", "abc"), -1);
  EXPECT_EQ(String::IndexOf("abc", "abc"), 0);
  EXPECT_EQ(String::IndexOfW("\xD0\xB0"
                             "b",
                             "b"),
            1);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "ab"), 2);
  EXPECT_EQ(String::IndexOfW(CYRILLIC_AB, "x"), -1);
  EXPECT_EQ(String::IndexOfW("ab", "ab"), 0);
}

TEST(String, SubStrWTakesCharactersFromStart) {
  struct Case {
    int start, count;
    std::string expected;
  } cases[] = {
      {0, 1, "\xD0\xB0"},
      {1, 2,
       "\xD0\xB1"
       "a"},
      {1, 0,
       "\xD0\xB1"
       "ab"},
      {2, -1, "ab"},
      {3, 9, "b"},
      {4, 1, ""},
      {-1, 2, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(String::SubStrW(CYRILLIC_AB, c.start, c.count), c.expected)
        << c.start << "," << c.count;
  }
  EXPECT_EQ(String::SubStrW("", 0, 1), "");
}

TEST(String, RemoveAtDropsOneCharacter) {
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 0),
            "\xD0\xB1"
            "ab");
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 3),
            "\xD0\xB0\xD0\xB1"
            "a");
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, 4), CYRILLIC_AB);
  EXPECT_EQ(String::RemoveAt(CYRILLIC_AB, -1), CYRILLIC_AB);
}

TEST(String, SplitKeepsEmptyPieces) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(String::Split("", ","), Pieces{""});
  EXPECT_EQ(String::Split("a,,b", ","), (Pieces{"a", "", "b"}));
  EXPECT_EQ(String::Split("a.b.", "."), (Pieces{"a", "b", ""}));
  EXPECT_EQ(String::Split("abc", ","), Pieces{"abc"});
  EXPECT_EQ(String::Split("x::y:::z", "::"), (Pieces{"x", "y", ":z"}));
  EXPECT_THROW(String::Split("abc", ""), const char*);
}

TEST(String, ReplaceSubstitutesEveryOccurrence) {
  EXPECT_EQ(String::Replace("a.b.c", ".", ","), "a,b,c");
  EXPECT_EQ(String::Replace("aaa", "a", "bb"), "bbbbbb");
  EXPECT_EQ(String::Replace("abc", "b", ""), "ac");
  try {
    String::Replace("abc", "", "x");
    FAIL();
  } catch (const char* message) {
    EXPECT_STREQ(message, "Invalid string separator.");
  }
}

TEST(String, ToNumberParsesDecimals) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {{"", 0},     {"007", 7},   {"1,5", 15}, {"-2.5", -2.5},
               {"12.", 12}, {"a1b2", 12}, {"1-2", 12}, {"0.125", 0.125}};
  for (const Case& c : cases) {
    EXPECT_EQ(String::ToNumber<double>(c.text), c.expected) << c.text;
  }
  double minusZero = String::ToNumber<double>("-");
  EXPECT_EQ(minusZero, 0);
  EXPECT_TRUE(std::signbit(minusZero));
  EXPECT_THROW(String::ToNumber<double>("1.2.3"), const char*);
}

TEST(String, ToNumberMatchesRepeatedDivision) {
  std::string text = "3." + fractionDigits(2000);
  EXPECT_EQ(String::ToNumber<double>(text), divideEachDigit(text));
}

TEST(String, ToNumberHandlesAHugeFractionQuickly) {
  auto begin = std::chrono::steady_clock::now();
  double value = String::ToNumber<double>("1." + fractionDigits(400000));
  auto elapsed = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(value, divideEachDigit("1." + fractionDigits(2000)));
  EXPECT_LT(elapsed, std::chrono::milliseconds(500));
}

TEST(String, FormatsWithPrecision) {
  EXPECT_EQ(String::ToStringWithPrecision<double>(1.005, -1), "1.005");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.5, -1), "2.5");
  EXPECT_EQ(String::ToStringWithPrecision<double>(3, -1), "3");
  EXPECT_EQ(String::ToStringWithPrecision<double>(12.5, 0), "12");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.999, 2), "2.99");
  EXPECT_EQ(String::ToStringWithPrecision<double>(2.5, 8), "2.50000000");
  EXPECT_EQ(String::ToStringWithPrecision<int>(-3, 1), "-3.0");
  EXPECT_EQ(String::ToStringWithPrecision<int>(5, 2), "5.00");
  EXPECT_EQ(String::ToStringWithPrecision<int>(5, 0), "5");
  EXPECT_EQ(String::ToStringWithPrecision<int>(5, -1), "5");
}

TEST(String, HighlightWrapsInColourEscapes) {
  EXPECT_EQ(String::Highlight("x", Red), "\x1b[0;31mx\x1b[0m");
  EXPECT_EQ(String::Highlight("x", BrightWhite), "\x1b[1;37mx\x1b[0m");
  EXPECT_EQ(String::Highlight("x", static_cast<Color>(17)), "\x1b[0mx\x1b[0m");
}
