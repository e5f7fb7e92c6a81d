#include "ui/Checkbox.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Mouse.h"

namespace {
class CheckboxTest : public testing::Test {
 protected:
  Screen screen;
  LogCapture log;
  Checkbox check{log.Get(), "DockerCECheck", new Position(1, 0), nullptr, "Docker", true};
};
}  // namespace

TEST_F(CheckboxTest, EnterSpaceAndClicksInsideSwitchTheValueAndTheDiamond) {
  check.Render();
  EXPECT_EQ(screen.Text(0, 0, 12, 1), "  ◆ -Docker ");
  check.Focus();
  EXPECT_EQ(screen.At(2, 0).pair, 5);
  EXPECT_FALSE(check.OnKeyPress('x'));  // left to the window
  EXPECT_TRUE(check.OnKeyPress(10));
  EXPECT_EQ(screen.Text(0, 0, 12, 1), "    -Docker ");
  EXPECT_TRUE(check.OnKeyPress(' '));
  EXPECT_TRUE(check.OnMouseClick(screen.Click(7, 0).get()));
  EXPECT_FALSE(check.GetValue());
}
