#include "ui/Area.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
Area area(int x, int y, int width, int height) {
  Position position(x, y);
  Size size(width, height);
  return Area(&position, &size);
}
}  // namespace

TEST(Area, ClipsOnlyTheRightAndBottomEdgesToTheLimit) {
  struct Case {
    Area limit;
    Area given;
    std::string clipped;
  };
  std::vector<Case> cases = {
      {area(0, 0, 8, 8), area(5, 5, 10, 10), "{[5, 5]:[3; 3]}"},
      {area(0, 0, 8, 8), area(8, 0, 2, 1), "{:}"},              // one column right of the last
      {area(0, 0, 8, 8), area(7, 0, 2, 1), "{[7, 0]:[1; 1]}"},  // on the last column
      {area(2, 2, 8, 8), area(1, 3, 2, 1), "{:}"},              // left of the limit
      {area(2, 2, 8, 8), area(3, 3, 2, 2), "{[3, 3]:[2; 2]}"},
      {Area(), area(0, 0, 2, 2), "{:}"},  // invalid limit
  };
  for (const Case& test : cases)
    EXPECT_EQ(Area(&test.limit, &test.given).ToString(), test.clipped);
}

TEST(Area, WithoutLimitDropsOnlyNegativePositions) {
  Area kept = area(0, 0, 4, 1);
  Area dropped = area(-1, 0, 4, 1);
  EXPECT_TRUE(Area(nullptr, &kept).Valid());
  EXPECT_FALSE(Area(nullptr, &dropped).Valid());
  Area invalid;
  EXPECT_THROW(Area(nullptr, &invalid), const char*);
}

TEST(Area, OutOfLimitsIgnoresThePositionAndBelongsUsesIt) {
  Area box = area(10, 5, 4, 2);
  Position width(4, 0), last(3, 1), inside(12, 6), before(9, 5);
  EXPECT_TRUE(box.OutOfLimits(&width));
  EXPECT_FALSE(box.OutOfLimits(&last));
  EXPECT_TRUE(box.Belongs(&inside));
  EXPECT_FALSE(box.Belongs(&before));
}
