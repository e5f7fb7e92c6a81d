#include "ui/Area.h"

#include <gtest/gtest.h>

namespace {
Area area(int x, int y, int width, int height) {
  Position position(x, y);
  Size size(width, height);
  return Area(&position, &size);
}
}  // namespace

TEST(Area, ClipsOnlyTheRightAndBottomEdgesToTheLimit) {
  const Area box = area(0, 0, 8, 8), shifted = area(2, 2, 8, 8), invalid;
  struct Case {
    const Area* limit;
    Area given;
    std::string clipped;
  };
  const Case cases[] = {
      {&box, area(5, 5, 10, 10), "{[5, 5]:[3; 3]}"},
      {&box, area(7, 0, 2, 1), "{[7, 0]:[1; 1]}"},  // on the last column
      {&shifted, area(1, 3, 2, 1), "{:}"},          // left of the limit
      {&invalid, area(0, 0, 2, 2), "{:}"},
      {nullptr, area(-1, 0, 4, 1), "{:}"},  // without a limit only a negative position is dropped
  };
  for (const Case& test : cases)
    EXPECT_EQ(Area(test.limit, &test.given).ToString(), test.clipped) << test.given.ToString();
  EXPECT_THROW(Area(nullptr, &invalid), const char*);
}
