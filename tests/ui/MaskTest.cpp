#include "ui/Mask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string Zhe = "\xD0\x96";  // a Cyrillic capital letter
const std::string Yo = "\xD1\x91";   // a Cyrillic small letter at the end of the range
const std::string Euro = "\xE2\x82";

struct ValidCase {
  const char* mask;
  std::string text;
  std::string valid;
};

struct AcceptCase {
  const char* mask;
  std::string text;
  int position;
  std::string character;
  bool accepted;
};
}  // namespace

TEST(Mask, CutsItemsWithEscapesAndRepetitions) {
  EXPECT_EQ(Mask("d+.d+.d+.d+").Items(),
            (std::vector<std::string>{"d+", ".", "d+", ".", "d+", ".", "d+"}));
  EXPECT_EQ(Mask("\\d\\+a*\\++-").Items(),
            (std::vector<std::string>{"\\d", "\\+", "a*", "\\++", "-"}));
  EXPECT_EQ(Mask(Zhe + "+w\\").Items(), (std::vector<std::string>{Zhe + "+", "w", "\\"}));
  EXPECT_TRUE(Mask("").Empty());
}

TEST(Mask, MatchesCharactersByKind) {
  EXPECT_TRUE(Mask::Matches("d", "7"));
  EXPECT_FALSE(Mask::Matches("d+", "x"));
  EXPECT_TRUE(Mask::Matches("w", Zhe));
  EXPECT_TRUE(Mask::Matches("w*", Yo));
  EXPECT_FALSE(Mask::Matches("w", Euro));
  EXPECT_FALSE(Mask::Matches("a", Zhe));
  EXPECT_TRUE(Mask::Matches("a", "Q"));
  EXPECT_TRUE(Mask::Matches("\\d", "d"));
  EXPECT_FALSE(Mask::Matches("\\d", "5"));
  EXPECT_TRUE(Mask::Matches("\\+", "+"));
  EXPECT_TRUE(Mask::Matches(Zhe, Zhe));
  EXPECT_FALSE(Mask::Matches(".", ","));
}

TEST(Mask, KeepsTheLongestStartThatFits) {
  const ValidCase cases[] = {
      {"d+.d+", "12a.5", "12"},
      {"d+.d+", "12.5", "12.5"},
      {"d+.d+.d+.d+", "1..2", "1."},
      {"d+.d+.d+.d+", "1.2.3.4.5", "1.2.3.4"},
      {"w+a", "xy", "xy"},        // the "+" item takes both letters; later items stay unfilled
      {"w+a", "xy1", "xy"},       // greedy: no letter is given back to "a"
      {"d*-d", "-5", "-5"},       // a "*" item may take nothing
      {"d*-d", "12-34", "12-3"},  // nothing is left for the last digit
      {"w+", Zhe + "b" + Yo + "!", Zhe + "b" + Yo},
      {"a+", Zhe, ""},
      {"\\d+x", "ddx7", "ddx"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Mask(c.mask).Valid(c.text), c.valid) << c.mask << " over " << c.text;
}

TEST(Mask, JudgesATypedCharacterByTheTextBeforeIt) {
  const AcceptCase cases[] = {
      {"d+.d+.d+.d+", "", 0, "1", true},
      {"d+.d+.d+.d+", "", 0, ".", false},    // the first group needs a digit
      {"d+.d+.d+.d+", "1", 1, ".", true},    // the group holds a digit: the point may follow
      {"d+.d+.d+.d+", "1.", 2, ".", false},  // a second point in a row
      {"d+.d+.d+.d+", "1.", 2, "x", false},
      {"d+.d+.d+.d+", "1.2", 0, "x", false},
      {"d+.d+.d+.d+", "1.2.3.4", 7, ".", false},  // no item is left
      {"w+a", "xy", 2, "z", true},                // still the "+" item
      {"w+a", "xy", 2, "1", false},
      {"d*a", "", 0, "b", true},    // a "*" item is passed over
      {"d*-a", "", 0, "b", false},  // but not a literal that does not match
      {"d", "5", 1, "6", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Mask(c.mask).Accepts(c.text, c.position, c.character), c.accepted)
        << c.mask << " over " << c.text << " at " << c.position << ": " << c.character;
}
