#include "ui/Button.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/Mouse.h"
#include "ui/ToolkitTest.h"

using ButtonTest = ToolkitTest;

TEST_F(ButtonTest, EnterOrALeftClickInsideRunsTheHandler) {
  int presses = 0;
  std::unique_ptr<Button> ok(button("OK", 2, 1, [&] { ++presses; }));
  ok->Render();
  EXPECT_TRUE(ok->OnKeyPress(10));
  for (auto [x, y] : {std::pair{1, 1}, {5, 1}, {2, 0}})
    EXPECT_FALSE(ok->OnMouseClick(screen.Click(x, y).get()));
  EXPECT_TRUE(ok->OnMouseClick(screen.Click(4, 1).get()));
  EXPECT_EQ(presses, 2);
}

TEST_F(ButtonTest, AFailingHandlerIsLoggedAndDoesNotEscapeTheKeyOrClick) {
  std::unique_ptr<Button> ok(button("OK", 2, 1, [] { throw "Fail when save settings"; }));
  ok->Render();
  EXPECT_TRUE(ok->OnKeyPress(10));
  EXPECT_EQ(LogCapture::Count(log.Take(), "Fail when save settings"), 1);
}
