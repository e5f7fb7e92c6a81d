#include "ui/Mask.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {
const std::string Zhe = "\xD0\x96";  // a Cyrillic capital letter
}  // namespace

TEST(Mask, KeepsTheLongestStartThatFits) {
  // mask, text, the valid start
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"d+.d+.d+.d+", "1.2.3.4.5", "1.2.3.4"},
      {"w+a", "xy1", "xy"},       // greedy: no letter is given back to "a"
      {"d*-d", "12-34", "12-3"},  // nothing is left for the last digit
      {"w+", Zhe + "b!", Zhe + "b"},
      {"a+", "Q" + Zhe, "Q"},  // "a" takes ASCII letters only
      {"\\dd", "5", ""},       // an escaped letter is that letter
  };
  for (const auto& [mask, text, valid] : cases)
    EXPECT_EQ(Mask(mask).Valid(text), valid) << mask << " over " << text;
}

TEST(Mask, JudgesATypedCharacterByTheTextBeforeIt) {
  // mask, text, position, character, accepted
  const std::tuple<std::string, std::string, int, std::string, bool> cases[] = {
      {"d+.d+.d+.d+", "1", 1, ".", true},    // the group holds a digit: the point may follow
      {"d+.d+.d+.d+", "1.", 2, ".", false},  // a second point in a row
      {"d*a", "", 0, "b", true},             // a "*" item is passed over
      {"d*-a", "", 0, "b", false},           // but not a literal that does not match
      {"dd", "12", 2, "3", false},           // the mask is used up
  };
  for (const auto& [mask, text, position, character, accepted] : cases)
    EXPECT_EQ(Mask(mask).Accepts(text, position, character), accepted) << mask << " over " << text;
}
