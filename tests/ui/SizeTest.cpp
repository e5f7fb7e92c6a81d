#include "ui/Size.h"

#include <gtest/gtest.h>

TEST(Size, MeasuresTheBlockATextOccupies) {
  struct Case {
    std::string text;
    int width;
    int height;
  };
  std::vector<Case> cases = {
      {"", 0, 1},
      {"a\nbcd", 3, 2},
      {"abc\n", 3, 2},
      {"abcde\nab", 5, 2},
      {"\xD0\x9F\xD1\x80\xD0\xB8", 3, 1},  // three Cyrillic letters
  };
  for (const Case& test : cases) {
    Size size(test.text);
    EXPECT_EQ(size.width, test.width) << test.text;
    EXPECT_EQ(size.height, test.height) << test.text;
  }
}
