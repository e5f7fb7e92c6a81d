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
  struct Case {
    std::string text;
    std::string screen;
  };
  const Case cases[] = {
      {"abcd\nef", "......\n.abcd.\n.ef  .\n......\n......"},  // full line + newline: one line
      {"abcd\r\nef", "......\n.abcd.\n.ef  .\n......\n......"},
      {"ab\ncd", "......\n.ab  .\n.cd  .\n......\n......"},
      {"a\rb", "......\n.ab  .\n......\n......\n......"},
      {"abcdefghijklmnop", "......\n.abcd.\n.efgh.\n.ijkl.\n......"},  // clipped
      {"abcd\n\nx", "......\n.abcd.\n.    .\n.x   .\n......"},
      {"", "......\n.    .\n......\n......\n......"},
      {"\xD0\xAF\xD0\xAF%d", "......\n.ЯЯ%d.\n.    .\n......\n......"},
  };
  for (const Case& test : cases)
    EXPECT_EQ(printed(test.text), test.screen) << test.text;
}

TEST_F(ControlTest, PrintsNothingOutsideTheAreaOrTheScreen) {
  Area invalid;
  Control::printContentInArea(&invalid, "text");
  print(0, 0, 0, 3, "text");
  print(97, 1, 6, 1, "abcdef");  // not wrapped onto the next row at the screen's edge
  EXPECT_EQ(screen.Text(0, 0, 4, 1), "    ");
  EXPECT_EQ(screen.Text(96, 1, 4, 2), " abc\n    ");
}

TEST_F(ControlTest, ChildPrintAreaStartsInsideTheParentAndIsCutToIt) {
  Label* wide =
      new Label(log.Get(), "Wide", new Position(2, 1), new Size(30, 1), "x", Theme::Basic);
  std::unique_ptr<Panel> frame(panel("Frame", 9, 4, {wide}, new Size(20, 5)));
  frame->Render();
  EXPECT_EQ(frame->GetInnerArea(true).ToString(), "{[10, 5]:[18; 3]}");
  EXPECT_EQ(wide->GetPrintArea().ToString(), "{[12, 6]:[16; 1]}");
  EXPECT_TRUE(wide->BelongsPosition(std::make_unique<Position>(27, 6).get()));
  EXPECT_FALSE(wide->BelongsPosition(std::make_unique<Position>(28, 6).get()));
}

TEST_F(ControlTest, FocusAndBlurAreLoggedAndDestroyingTheActiveControlLeavesNone) {
  Button* ok = button("Ok", 0, 0);
  ok->Focus();
  EXPECT_TRUE(ok->IsActive());
  ok->Blur();
  EXPECT_EQ(Control::GetActive(), nullptr);
  ok->Focus();
  delete ok;
  EXPECT_EQ(Control::GetActive(), nullptr);
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{
                "Control Ok of type Button was created.", "Control Ok of type Button is active.",
                "Control Ok of type Button blured.", "Control Ok of type Button is active.",
                "Control Ok of type Button was destroyed"}));
}

TEST_F(ControlTest, FocusMovesForwardAndBackwardAcrossNestedPanels) {
  Panel* inner = panel("Inner", 0, 1, {button("B", 0, 0), label("L", 0, 1), button("C", 0, 2)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), inner, button("D", 0, 6)}));
  root->Render();
  root->GetItem(0)->Focus();
  EXPECT_EQ(switchAll(false), (std::vector<std::string>{"B", "C", "D"}));
  // Entering a panel focuses its first focusable item.
  EXPECT_EQ(switchAll(true), (std::vector<std::string>{"B", "A"}));
}

TEST_F(ControlTest, FocusWrapsInsideAModalPanelAndNeverLeavesIt) {
  Panel* form = modal("Form", 2, 2, {label("Q", 0, 0), button("Y", 0, 1), button("N", 3, 1)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), form, button("D", 0, 6)}));
  root->Render();
  form->Focus();
  EXPECT_EQ(activeName(), "Y");
  std::vector<std::string> seen;
  for (bool back : {false, false, false, true, true, true}) {
    EXPECT_TRUE(Control::SwitchActive(back));
    seen.push_back(activeName());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"N", "Y", "N", "Y", "N", "Y"}));
  root->GetItem(0)->Focus();
  root->GetItem("D")->Focus();
  EXPECT_EQ(activeName(), "Y");
  EXPECT_FALSE(root->GetItem(0)->Focusable());
}

TEST_F(ControlTest, FocusStaysOnTheOnlyControlItCanReach) {
  EXPECT_FALSE(Control::SwitchActive(false));  // nothing is active
  std::unique_ptr<Button> alone(button("Alone", 0, 5));
  alone->Focus();
  EXPECT_FALSE(Control::SwitchActive(false));  // no parent
  EXPECT_EQ(activeName(), "Alone");
  std::unique_ptr<Panel> form(modal("Form", 0, 0, {label("Q", 0, 0), button("Y", 0, 1)}));
  form->Render();
  form->Focus();
  EXPECT_TRUE(Control::SwitchActive(false));
  EXPECT_TRUE(Control::SwitchActive(true));
  EXPECT_EQ(activeName(), "Y");
}

TEST_F(ControlTest, ClickOnALabelOutsideAnActiveModalPanelMakesThePanelBlink) {
  Panel* form = modal("Form", 10, 0, {label("Inside", 0, 0), button("Y", 0, 1)});
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {label("Outside", 0, 0), form}));
  root->Render();
  form->Focus();
  EXPECT_FALSE(form->GetItem("Inside")->OnMouseClick(screen.Click(12, 2).get()));
  EXPECT_EQ(form->GetBlinkPhase(), 0);
  EXPECT_FALSE(root->GetItem("Outside")->OnMouseClick(screen.Click(1, 1).get()));
  EXPECT_EQ(form->GetBlinkPhase(), 1);
  EXPECT_EQ(Control::BlinkTimeout(), 1000);
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(), {"Control::OnMouseClick Inside of type Label is not focusable.",
                   "Control::OnMouseClick Outside of type Label is not focusable."}));
}

TEST_F(ControlTest, ABlinkShowsThreePhasesOneSecondApartThenTheNormalLook) {
  std::unique_ptr<Panel> form(modal("Form", 0, 0, {button("Y", 0, 0)}));
  form->Render();
  form->Blink();
  std::vector<int> phases{form->GetBlinkPhase()};
  std::vector<int> framePairs{screen.At(0, 0).pair};
  for (long long at : {999, 1000, 1500, 2000, 3000, 4000}) {
    fakeNow = at;
    Control::BlinkTick();
    phases.push_back(form->GetBlinkPhase());
    framePairs.push_back(screen.At(0, 0).pair);
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 1, 2, 2, 3, 0, 0}));
  EXPECT_EQ(framePairs, (std::vector<int>{2, 2, 1, 1, 2, 1, 1}));
  EXPECT_EQ(Control::BlinkTimeout(), -1);
}

TEST_F(ControlTest, ANewBlinkReturnsThePreviousOneToItsNormalLook) {
  std::unique_ptr<Panel> first(modal("First", 0, 0, {button("Y", 0, 0)}));
  std::unique_ptr<Panel> second(modal("Second", 0, 5, {button("N", 0, 0)}));
  first->Render();
  second->Render();
  first->Blink();
  second->Blink();
  EXPECT_EQ(first->GetBlinkPhase(), 0);
  EXPECT_EQ(screen.At(0, 0).pair, 1);
  EXPECT_EQ(screen.At(0, 5).pair, 2);
  second.reset();
  fakeNow = 5000;
  Control::BlinkTick();  // the blinking panel is gone: nothing to do
  EXPECT_EQ(Control::BlinkTimeout(), -1);
}
