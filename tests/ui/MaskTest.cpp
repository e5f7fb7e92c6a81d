#include "ui/Mask.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string Zhe = "\xD0\x96";  // a Cyrillic capital letter
const std::string Yo = "\xD1\x91";   // a Cyrillic small letter at the end of the range
}  // namespace

TEST(Mask, KeepsTheLongestStartThatFits) {
  struct Case {
    std::string mask;
    std::string text;
    std::string valid;
  };
  const Case cases[] = {
      {"d+.d+", "12a.5", "12"},
      {"d.d", "1,2", "1"},  // a literal matches only itself
      {"d+.d+.d+.d+", "1.2.3.4.5", "1.2.3.4"},
      {"w+a", "xy1", "xy"},       // greedy: no letter is given back to "a"
      {"d*-d", "12-34", "12-3"},  // nothing is left for the last digit
      {"w+", Zhe + "b" + Yo + "!", Zhe + "b" + Yo},
      {"a+", "Q" + Zhe, "Q"},  // "a" takes ASCII letters only
      {"\\d+x", "ddx7", "ddx"},
      {"\\dd", "5", ""},                                     // an escaped letter is that letter
      {Zhe + "+w\\", Zhe + Zhe + "q\\", Zhe + Zhe + "q\\"},  // a trailing backslash is literal
  };
  for (const Case& c : cases)
    EXPECT_EQ(Mask(c.mask).Valid(c.text), c.valid) << c.mask << " over " << c.text;
}

TEST(Mask, JudgesATypedCharacterByTheTextBeforeIt) {
  struct Case {
    std::string mask;
    std::string text;
    int position;
    std::string character;
    bool accepted;
  };
  const Case cases[] = {
      {"d+.d+.d+.d+", "", 0, "1", true},
      {"d+.d+.d+.d+", "1", 1, ".", true},         // the group holds a digit: the point may follow
      {"d+.d+.d+.d+", "1.", 2, ".", false},       // a second point in a row
      {"d+.d+.d+.d+", "1.2.3.4", 7, ".", false},  // no item is left
      {"w+a", "xy", 2, "z", true},                // still the "+" item
      {"d*a", "", 0, "b", true},                  // a "*" item is passed over
      {"d*-a", "", 0, "b", false},                // but not a literal that does not match
      {"d", "5", 1, "6", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Mask(c.mask).Accepts(c.text, c.position, c.character), c.accepted)
        << c.mask << " over " << c.text << " at " << c.position << ": " << c.character;
}
