#include "ui/Position.h"

#include <gtest/gtest.h>

TEST(Position, CopiesComparesAndPrints) {
  Position origin(3, 7);
  Position copy(&origin);
  EXPECT_TRUE(copy.Equals(&origin));
  EXPECT_FALSE(Position(3, 8).Equals(&origin));
  EXPECT_EQ(origin.ToString(), "[3, 7]");
  EXPECT_EQ(Position(-1, 0).ToString(), "[-1, 0]");
}

TEST(Position, CopyOfNullThrows) {
  const Position* none = nullptr;
  EXPECT_THROW(Position{none}, const char*);
}
