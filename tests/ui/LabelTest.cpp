#include "ui/Label.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/Screen.h"

TEST(Label, DrawsInItsThemeBoldUnlessBasic) {
  Screen screen;
  LogCapture log;
  Label plain(log.Get(), "Plain", new Position(0, 0), nullptr, "ab\ncdef", Theme::Basic);
  Label error(log.Get(), "Error", new Position(0, 3), new Size(3, 1), "too long", Theme::Error);
  plain.Render();
  error.Render();
  EXPECT_EQ(screen.Text(0, 0, 5, 4), "ab   \ncdef \n     \ntoo  ");
  EXPECT_EQ(screen.At(0, 0).pair, 1);
  EXPECT_FALSE(screen.At(0, 0).bold);
  EXPECT_EQ(screen.At(2, 3).pair, 7);
  EXPECT_TRUE(screen.At(2, 3).bold);
  EXPECT_EQ(screen.At(3, 3).pair, 1);  // cut at its size
  EXPECT_TRUE(plain.IsRendered());
}
