#include "ui/Button.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/Mouse.h"
#include "ui/ToolkitTest.h"

namespace {
class ButtonTest : public ToolkitTest {
 protected:
  std::unique_ptr<Button> make(Button::ButtonHandler handler) {
    return std::unique_ptr<Button>(button("OK", 2, 1, std::move(handler)));
  }
  std::unique_ptr<Button> counting() {
    return make([this] { ++presses; });
  }

  int presses = 0;
};
}  // namespace

TEST_F(ButtonTest, ShowsTheIndicatorAndItsFocusedLook) {
  auto ok = make(nullptr);
  EXPECT_EQ(ok->CalculateSize().ToString(), "[3; 1]");
  EXPECT_EQ(Button::CalculateSizeForContent("Deploy").ToString(), "[7; 1]");
  ok->Render();
  EXPECT_EQ(screen.Text(1, 1, 5, 1), " >OK ");
  EXPECT_EQ(screen.At(2, 1).pair, 4);
  EXPECT_TRUE(screen.At(2, 1).bold);
  ok->Focus();
  EXPECT_EQ(screen.At(2, 1).pair, 5);
}

TEST_F(ButtonTest, EnterRunsTheHandlerAndOtherKeysAreNotConsumed) {
  auto ok = counting();
  EXPECT_FALSE(ok->OnKeyPress('\t'));
  EXPECT_FALSE(ok->OnKeyPress(KEY_ENTER));
  log.Take();
  EXPECT_TRUE(ok->OnKeyPress(10));
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"Button::OnKeyPress on button OK.",
                                      "Button::OnKeyPress Call button OK handler by key press.",
                                      "Button::OnKeyPress End button OK handler execution."}));
  EXPECT_TRUE(make(nullptr)->OnKeyPress(10));  // consumed without a handler too
}

TEST_F(ButtonTest, OnlyALeftClickInsideRunsTheHandler) {
  auto ok = counting();
  ok->Render();
  for (auto [x, y] : {std::pair{1, 1}, {5, 1}, {2, 0}, {2, 2}})
    EXPECT_FALSE(ok->OnMouseClick(screen.Click(x, y).get()));
  EXPECT_EQ(presses, 0);
  EXPECT_FALSE(ok->IsActive());
  EXPECT_TRUE(ok->OnMouseClick(screen.Click(4, 1).get()));
  EXPECT_EQ(presses, 1);
  EXPECT_TRUE(ok->IsActive());
  EXPECT_TRUE(
      LogCapture::InOrder(log.Take(), {"Button::OnMouseClick Call button OK handler by click.",
                                       "Button::OnMouseClick End button OK handler execution."}));
}

TEST_F(ButtonTest, AFailingHandlerIsLoggedAndDoesNotEscapeTheKeyOrClick) {
  auto ok = make([] { throw "Fail when save settings"; });
  ok->Render();
  EXPECT_TRUE(ok->OnKeyPress(10));
  EXPECT_TRUE(ok->OnMouseClick(screen.Click(2, 1).get()));
  std::vector<std::string> lines = log.Take();
  EXPECT_EQ(LogCapture::Count(lines, "Fail when save settings"), 2);
  EXPECT_TRUE(LogCapture::InOrder(
      lines, {"Button::OnKeyPress button OK handler exception:", "Fail when save settings"}));
  EXPECT_EQ(LogCapture::Count(lines, "Button::OnKeyPress End button OK handler execution."), 0);
}
