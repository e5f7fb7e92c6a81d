#include "forms/LayoutCheck.h"

#include <gtest/gtest.h>

TEST(LayoutCheck, BlocksMustStayInsideAndApart) {
  using Blocks = LayoutCheck::Blocks;
  struct Case {
    Blocks blocks;
    bool fits;
  } cases[] = {
      {{{0, 0, 10, 1}, {0, 1, 10, 1}}, true},
      {{{0, 0, 10, 2}, {9, 1, 1, 1}}, false},
      {{{96, 0, 5, 1}}, false},
      {{{0, 0, 10, 1}, {5, 0, 0, 1}}, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LayoutCheck::Fits(c.blocks, 100, 30), c.fits);
}

TEST(LayoutCheck, NeededSizeIsTheSmallestThatFits) {
  // A label on the left of row 0 and a right-aligned one on the last row.
  LayoutCheck::Placer placer = [](int width, int height) {
    return LayoutCheck::Blocks{{0, 0, 30, 1}, {width - 20, height - 1, 20, 1}};
  };
  Size needed = LayoutCheck::Needed(placer);
  EXPECT_EQ(needed.width, 30);
  EXPECT_EQ(needed.height, 2);
}
