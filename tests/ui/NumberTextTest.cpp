#include "ui/NumberText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
struct IntCase {
  const char* text;
  bool fits;
  int value;
};
}  // namespace

TEST(NumberText, ReadsIntegersWithinTheirRangeOnly) {
  const IntCase cases[] = {
      {"0042", true, 42},
      {"-17", true, -17},
      {"3-5", true, 35},
      {"", true, 0},
      {"-", true, 0},
      {"2147483647", true, INT_MAX},
      {"-2147483648", true, INT_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    int value = 0;
    EXPECT_EQ(NumberText::ParseInt(c.text, &value), c.fits) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  int value = 0;
  EXPECT_THROW(NumberText::ParseInt("1.5", &value), const char*);
}

TEST(NumberText, ComparesDigitsAndMapsPositionsAroundThePoint) {
  EXPECT_TRUE(NumberText::SameDigits("007.50", "7.5"));
  EXPECT_TRUE(NumberText::SameDigits(".304", "0.304"));
  EXPECT_TRUE(NumberText::SameDigits("-", "0"));
  EXPECT_FALSE(NumberText::SameDigits("2.005", "2.00"));
  EXPECT_FALSE(NumberText::SameDigits("1e400", "inf"));
  EXPECT_EQ(NumberText::MapCursor(".304", 1, "0.304"), 2);
  EXPECT_EQ(NumberText::MapCursor("042", 1, "42"), 0);
  EXPECT_EQ(NumberText::MapCursor("2.", 2, "2.0"), 2);
  EXPECT_EQ(NumberText::MapCursor("02", 0, "2"), 0);
  EXPECT_EQ(NumberText::FractionLength("2.050"), 3);
  EXPECT_EQ(NumberText::FractionLength("205"), 0);
  double parsed = 1;
  EXPECT_FALSE(NumberText::ParseDouble(std::string(400, '9'), &parsed));
  EXPECT_EQ(parsed, 1);
}
