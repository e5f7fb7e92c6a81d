#include "ui/Control.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/Mouse.h"
#include "ui/ToolkitTest.h"

namespace {
long long fakeNow = 0;
long long fakeClock() {
  return fakeNow;
}

class ControlTest : public ToolkitTest {
 protected:
  void SetUp() override {
    fakeNow = 0;
    Control::SetBlinkClock(fakeClock);
  }
  void TearDown() override { Control::SetBlinkClock(nullptr); }

  static void print(int x, int y, int width, int height, const std::string& text) {
    Position at(x, y);
    Size size(width, height);
    Area area(&at, &size);
    Control::printContentInArea(&area, text);
  }
  // Writes text into a 4 x 3 area at (1, 1) of a screen filled with dots.
  std::string printed(const std::string& text) {
    for (int row = 0; row < 5; ++row)
      mvaddstr(row, 0, "......");
    print(1, 1, 4, 3, text);
    return screen.Text(0, 0, 6, 5);
  }
};
}  // namespace

TEST_F(ControlTest, WrapsTextAndPadsEachWrittenLine) {
  std::pair<std::string, std::string> cases[] = {
      {"abcd\r\nef", "......\n.abcd.\n.ef  .\n......\n......"},  // full line + newline: one line
      {"abcdefghijklmnop", "......\n.abcd.\n.efgh.\n.ijkl.\n......"},  // clipped
      {"\xD0\xAF\xD0\xAF%d", "......\n.ЯЯ%d.\n.    .\n......\n......"},
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(printed(text), shown) << text;
  print(97, 1, 6, 1, "abcdef");  // not wrapped onto the next row at the screen's edge
  EXPECT_EQ(screen.Text(96, 1, 4, 2), " abc\n    ");
}

TEST_F(ControlTest, DestroyingTheActiveControlLeavesNone) {
  Button* ok = button("Ok", 0, 0);
  ok->Focus();
  delete ok;
  EXPECT_EQ(Control::GetActive(), nullptr);
}

TEST_F(ControlTest, FocusWrapsInsideAModalPanelAndNeverLeavesIt) {
  Panel* form =
      panel("Form", 2, 2, {label("Q", 0, 0), button("Y", 0, 1), button("N", 3, 1)}, nullptr, true);
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), form, button("D", 0, 6)}));
  root->Render();
  form->Focus();
  std::vector<std::string> seen{activeName()};
  for (bool back : {false, false, true})
    seen.push_back(Control::SwitchActive(back) ? activeName() : "stuck");
  EXPECT_EQ(seen, (std::vector<std::string>{"Y", "N", "Y", "N"}));
  root->GetItem("D")->Focus();
  EXPECT_EQ(activeName(), "N");
}

TEST_F(ControlTest, ClickOutsideAnActiveModalPanelMakesItBlinkThreePhasesOneSecondApart) {
  Panel* form = panel("Form", 10, 0, {label("Inside", 0, 0), button("Y", 0, 1)}, nullptr, true);
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {label("Outside", 0, 0), form}));
  root->Render();
  form->Focus();
  EXPECT_FALSE(root->GetItem("Outside")->OnMouseClick(screen.Click(1, 1).get()));
  std::vector<int> framePairs{screen.At(11, 1).pair};
  for (long long at : {999, 1000, 2000, 3000}) {
    fakeNow = at;
    Control::BlinkTick();
    framePairs.push_back(screen.At(11, 1).pair);
  }
  EXPECT_EQ(framePairs, (std::vector<int>{2, 2, 1, 2, 1}));
  EXPECT_EQ(Control::BlinkTimeout(), -1);
}
