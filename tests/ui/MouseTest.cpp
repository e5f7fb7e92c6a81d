#include "ui/Mouse.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/Screen.h"
#include "ui/Position.h"

TEST(Mouse, ReadsTheQueuedEvent) {
  Screen screen;
  std::unique_ptr<Mouse> mouse = screen.Click(12, 7);
  std::unique_ptr<Position> position(mouse->GetPosition());
  EXPECT_EQ(position->ToString(), "[12, 7]");
  EXPECT_TRUE(mouse->IsLeftClick());
}

TEST(Mouse, OnlyAPlainFirstButtonClickIsALeftClick) {
  Screen screen;
  EXPECT_FALSE(screen.Click(1, 1, BUTTON1_CLICKED | BUTTON_SHIFT)->IsLeftClick());
  EXPECT_FALSE(screen.Click(1, 1, BUTTON3_CLICKED)->IsLeftClick());
  EXPECT_FALSE(screen.Click(1, 1, BUTTON1_PRESSED)->IsLeftClick());
}

TEST(Mouse, AFailedReadIsNoClickAtMinusOne) {
  Screen screen;
  Mouse mouse;  // nothing was queued
  std::unique_ptr<Position> position(mouse.GetPosition());
  EXPECT_TRUE(mouse.Failed());
  EXPECT_FALSE(mouse.IsLeftClick());
  EXPECT_EQ(position->ToString(), "[-1, -1]");
}
