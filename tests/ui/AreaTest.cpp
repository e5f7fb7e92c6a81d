#include "ui/Area.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
Area area(int x, int y, int width, int height) {
  Position position(x, y);
  Size size(width, height);
  return Area(&position, &size);
}
}  // namespace

TEST(Area, ClipsOnlyTheRightAndBottomEdgesToTheLimit) {
  const Area box = area(2, 2, 8, 8), invalid;
  // limit, area, the clipped area
  const std::tuple<const Area*, Area, std::string> cases[] = {
      {&box, area(5, 5, 10, 10), "{[5, 5]:[5; 5]}"},
      {&box, area(1, 3, 2, 1), "{:}"},      // left of the limit
      {nullptr, area(-1, 0, 4, 1), "{:}"},  // without a limit only a negative position is dropped
  };
  for (const auto& [limit, given, clipped] : cases)
    EXPECT_EQ(Area(limit, &given).ToString(), clipped) << given.ToString();
  EXPECT_THROW(Area(nullptr, &invalid), const char*);
}
