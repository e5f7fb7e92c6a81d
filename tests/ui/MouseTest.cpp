#include "ui/Mouse.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/Screen.h"
#include "ui/Position.h"

TEST(Mouse, OnlyAPlainFirstButtonClickIsALeftClick) {
  Screen screen;
  EXPECT_TRUE(screen.Click(1, 1)->IsLeftClick());
  for (mmask_t state : {BUTTON1_CLICKED | BUTTON_SHIFT, BUTTON3_CLICKED, BUTTON1_PRESSED})
    EXPECT_FALSE(screen.Click(1, 1, state)->IsLeftClick()) << state;
  Mouse nothing;  // nothing was queued: a failed read, no click, at (-1, -1)
  EXPECT_TRUE(nothing.Failed());
  EXPECT_FALSE(nothing.IsLeftClick());
  EXPECT_EQ(std::unique_ptr<Position>(nothing.GetPosition())->ToString(), "[-1, -1]");
}
