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
  Panel* modal(const std::string& name, int x, int y, ControlList items) {
    return panel(name, x, y, std::move(items), nullptr, true);
  }
  // The names of the controls focused by switching until no move is left.
  static std::vector<std::string> switchAll(bool back) {
    std::vector<std::string> names;
    while (Control::SwitchActive(back))
      names.push_back(activeName());
    return names;
  }
};
}  // namespace

TEST_F(ControlTest, WrapsTextAndPadsEachWrittenLine) {
  std::pair<std::string, std::string> cases[] = {
      {"abcd\r\nef", "......\n.abcd.\n.ef  .\n......\n......"},  // full line + newline: one line
      {"a\rb", "......\n.ab  .\n......\n......\n......"},
      {"abcdefghijklmnop", "......\n.abcd.\n.efgh.\n.ijkl.\n......"},  // clipped
      {"abcd\n\nx", "......\n.abcd.\n.    .\n.x   .\n......"},
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

TEST_F(ControlTest, FocusMovesForwardAndBackwardAcrossNestedPanels) {
  Panel* inner = panel("Inner", 0, 1, {button("B", 0, 0), label("L", 0, 1), button("C", 0, 2)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), inner, button("D", 0, 6)}));
  root->Render();
  root->GetItem(0)->Focus();
  EXPECT_EQ(switchAll(false), (std::vector<std::string>{"B", "C", "D"}));
  EXPECT_EQ(switchAll(true), (std::vector<std::string>{"B", "A"}));  // entering at the first
}

TEST_F(ControlTest, FocusWrapsInsideAModalPanelAndNeverLeavesIt) {
  EXPECT_FALSE(Control::SwitchActive(false));  // nothing is active
  std::unique_ptr<Button> alone(button("Alone", 0, 9));
  alone->Focus();
  EXPECT_FALSE(Control::SwitchActive(false));  // no parent
  EXPECT_EQ(activeName(), "Alone");
  Panel* form = modal("Form", 2, 2, {label("Q", 0, 0), button("Y", 0, 1), button("N", 3, 1)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), form, button("D", 0, 6)}));
  root->Render();
  form->Focus();
  std::vector<std::string> seen{activeName()};
  for (bool back : {false, false, true, true}) {
    EXPECT_TRUE(Control::SwitchActive(back));
    seen.push_back(activeName());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Y", "N", "Y", "N", "Y"}));
  root->GetItem("D")->Focus();
  EXPECT_EQ(activeName(), "Y");
}

TEST_F(ControlTest, ClickOutsideAnActiveModalPanelMakesItBlinkThreePhasesOneSecondApart) {
  Panel* form = modal("Form", 10, 0, {label("Inside", 0, 0), button("Y", 0, 1)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {label("Outside", 0, 0), form}));
  root->Render();
  form->Focus();
  EXPECT_FALSE(form->GetItem("Inside")->OnMouseClick(screen.Click(12, 2).get()));
  EXPECT_EQ(form->GetBlinkPhase(), 0);
  EXPECT_FALSE(root->GetItem("Outside")->OnMouseClick(screen.Click(1, 1).get()));
  std::vector<int> phases{form->GetBlinkPhase()};
  std::vector<int> framePairs{screen.At(11, 1).pair};
  for (long long at : {999, 1000, 2000, 3000}) {
    fakeNow = at;
    Control::BlinkTick();
    phases.push_back(form->GetBlinkPhase());
    framePairs.push_back(screen.At(11, 1).pair);
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 1, 2, 3, 0}));
  EXPECT_EQ(framePairs, (std::vector<int>{2, 2, 1, 2, 1}));
  EXPECT_EQ(Control::BlinkTimeout(), -1);
}

TEST_F(ControlTest, ANewBlinkReturnsThePreviousOneToItsNormalLook) {
  std::unique_ptr<Panel> first(modal("First", 0, 0, {button("Y", 0, 0)}));
  std::unique_ptr<Panel> second(modal("Second", 0, 5, {button("N", 0, 0)}));
  first->Render();
  second->Render();
  first->Blink();
  second->Blink();
  EXPECT_EQ(screen.At(0, 0).pair, 1);
  EXPECT_EQ(screen.At(0, 5).pair, 2);
  second.reset();
  fakeNow = 5000;
  Control::BlinkTick();  // the blinking panel is gone: nothing to do
  EXPECT_EQ(Control::BlinkTimeout(), -1);
}
