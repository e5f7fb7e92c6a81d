#include "ui/Size.h"

#include <gtest/gtest.h>

// The size of a text: its widest line in display characters by its number of lines.
TEST(Size, OfATextIsItsWidestLineByItsLines) {
  Size size("ab\n\xD0\x96\xD0\x96\xD0\x96\n");
  EXPECT_EQ(size.width, 3);
  EXPECT_EQ(size.height, 3);
}
