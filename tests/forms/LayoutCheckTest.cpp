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
