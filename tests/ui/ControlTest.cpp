#include "ui/Control.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/LogCapture.h"
#include "support/Screen.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Mouse.h"
#include "ui/Panel.h"

namespace {
long long fakeNow = 0;
long long fakeClock() {
  return fakeNow;
}

// A control that relies on every default of the base.
class Bare : public Control {
 public:
  explicit Bare(Logger* logger, Size* size = nullptr)
      : Control(logger, "Bare", "BareControl", nullptr, size, true) {}
};

class ControlTest : public testing::Test {
 protected:
  void SetUp() override {
    fakeNow = 0;
    Control::SetBlinkClock(fakeClock);
  }
  void TearDown() override { Control::SetBlinkClock(nullptr); }

  Button* button(const std::string& name, int x, int y) {
    return new Button(log.Get(), name, new Position(x, y), nullptr, name, nullptr);
  }
  Label* label(const std::string& name, int x, int y) {
    return new Label(log.Get(), name, new Position(x, y), nullptr, name, Theme::Basic);
  }
  Panel* panel(const std::string& name, int x, int y, ControlList items, bool modal = false) {
    Panel* made = new Panel(log.Get(), name, new Position(x, y), nullptr, name, &items);
    made->SetModalMode(modal);
    return made;
  }
  std::string activeName() const {
    return Control::GetActive() ? Control::GetActive()->GetName() : "none";
  }
  // Writes text into a 4 x 3 area at (1, 1) of a screen filled with dots.
  std::string printed(const std::string& text) {
    for (int row = 0; row < 5; ++row)
      mvaddstr(row, 0, "......");
    Position at(1, 1);
    Size size(4, 3);
    Area area(&at, &size);
    Control::printContentInArea(&area, text);
    return screen.Text(0, 0, 6, 5);
  }

  Screen screen;
  LogCapture log;
};
}  // namespace

TEST_F(ControlTest, WrapsTextAndPadsEachWrittenLine) {
  struct Case {
    std::string text;
    std::string screen;
  };
  std::vector<Case> cases = {
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

TEST_F(ControlTest, PrintsNothingIntoAnInvalidOrEmptyArea) {
  Area invalid;
  Control::printContentInArea(&invalid, "text");
  Position at(0, 0);
  Size empty(0, 3);
  Area area(&at, &empty);
  Control::printContentInArea(&area, "text");
  EXPECT_EQ(screen.Text(0, 0, 4, 1), "    ");
}

TEST_F(ControlTest, TextBeyondTheRightEdgeOfTheScreenIsNotWrappedOntoTheNextRow) {
  Position at(97, 0);
  Size size(6, 1);
  Area area(&at, &size);
  Control::printContentInArea(&area, "abcdef");
  EXPECT_EQ(screen.Text(96, 0, 4, 2), " abc\n    ");
}

TEST_F(ControlTest, ChildPrintAreaStartsInsideTheParentAndIsCutToIt) {
  Label* wide =
      new Label(log.Get(), "Wide", new Position(2, 1), new Size(30, 1), "x", Theme::Basic);
  ControlList items{wide};
  Panel frame(log.Get(), "Frame", new Position(9, 4), new Size(20, 5), "", &items);
  frame.Render();
  EXPECT_EQ(frame.GetInnerArea(true).ToString(), "{[10, 5]:[18; 3]}");
  EXPECT_EQ(wide->GetPrintArea().ToString(), "{[12, 6]:[16; 1]}");
  EXPECT_TRUE(wide->BelongsPosition(std::make_unique<Position>(27, 6).get()));
  EXPECT_FALSE(wide->BelongsPosition(std::make_unique<Position>(28, 6).get()));
}

TEST_F(ControlTest, SizeIsMeasuredOnFirstNeedAndNotBefore) {
  Label text(log.Get(), "Text", nullptr, nullptr, "abc\nde", Theme::Basic);
  EXPECT_FALSE(text.HasSize());
  EXPECT_THROW(text.GetSize(), const char*);
  EXPECT_EQ(text.GetPrintArea().ToString(), "{[0, 0]:[3; 2]}");
  EXPECT_EQ(text.GetSize().ToString(), "[3; 2]");
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(), {"Control Text of type Label was created.",
                   "Control Text of type Label trying to access size before initialization."}));
}

TEST_F(ControlTest, BaseOperationsThatNeedAnOverrideThrowAndNameTheType) {
  Bare bare(log.Get(), new Size(1, 1));
  EXPECT_THROW(bare.Render(), const char*);
  EXPECT_THROW(bare.OnKeyPress('a'), const char*);
  EXPECT_THROW(bare.GetInnerArea(true), const char*);
  EXPECT_THROW(bare.CalculateSize(), const char*);
  EXPECT_THROW(bare.blinking(), const char*);
  EXPECT_EQ(bare.GetItemsCount(), 0);
  EXPECT_EQ(bare.GetItem(0), nullptr);
  EXPECT_EQ(bare.AddItem(nullptr), -1);
  EXPECT_TRUE(LogCapture::InOrder(log.Take(), {"Control::Render for type Bare running.",
                                               "Control::OnKeyPress for type Bare running.",
                                               "Control::getInnerArea for type Bare running.",
                                               "Control::CalculateSize of type Bare is running.",
                                               "Control::blinking for type Bare running."}));
}

TEST_F(ControlTest, ParentCannotChangeAfterRendering) {
  Label text(log.Get(), "Text", nullptr, nullptr, "abc", Theme::Basic);
  Bare first(log.Get()), second(log.Get());
  text.PushTo(&first);
  text.PushTo(&second);
  EXPECT_EQ(text.GetParent(), &second);
  text.PushTo(nullptr);
  text.Render();
  text.PushTo(nullptr);
  EXPECT_THROW(text.PushTo(&first), const char*);
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
  std::vector<std::string> forward;
  while (Control::SwitchActive(false))
    forward.push_back(activeName());
  EXPECT_EQ(forward, (std::vector<std::string>{"B", "C", "D"}));
  std::vector<std::string> backward;
  while (Control::SwitchActive(true))
    backward.push_back(activeName());
  // Entering a panel focuses its first focusable item.
  EXPECT_EQ(backward, (std::vector<std::string>{"B", "A"}));
}

TEST_F(ControlTest, FocusWrapsInsideAModalPanelAndNeverLeavesIt) {
  Panel* form = panel("Form", 2, 2, {label("Q", 0, 0), button("Y", 0, 1), button("N", 3, 1)}, true);
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {button("A", 0, 0), form, button("D", 0, 6)}));
  root->Render();
  form->Focus();
  EXPECT_EQ(activeName(), "Y");
  std::vector<std::string> seen;
  for (int step = 0; step < 3; ++step) {
    EXPECT_TRUE(Control::SwitchActive(false));
    seen.push_back(activeName());
  }
  for (int step = 0; step < 3; ++step) {
    EXPECT_TRUE(Control::SwitchActive(true));
    seen.push_back(activeName());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"N", "Y", "N", "Y", "N", "Y"}));
  root->GetItem(0)->Focus();
  root->GetItem("D")->Focus();
  EXPECT_EQ(activeName(), "Y");
  EXPECT_FALSE(root->GetItem(0)->Focusable());
}

TEST_F(ControlTest, ASingleFocusableControlInAModalPanelKeepsTheFocus) {
  std::unique_ptr<Panel> form(panel("Form", 0, 0, {label("Q", 0, 0), button("Y", 0, 1)}, true));
  form->Render();
  form->Focus();
  EXPECT_TRUE(Control::SwitchActive(false));
  EXPECT_TRUE(Control::SwitchActive(true));
  EXPECT_EQ(activeName(), "Y");
}

TEST_F(ControlTest, SwitchingWithoutActiveControlOrParentReportsNoMove) {
  EXPECT_FALSE(Control::SwitchActive(false));
  std::unique_ptr<Button> alone(button("Alone", 0, 0));
  alone->Focus();
  EXPECT_FALSE(Control::SwitchActive(false));
  EXPECT_EQ(activeName(), "Alone");
}

TEST_F(ControlTest, ClickOnALabelOutsideAnActiveModalPanelMakesThePanelBlink) {
  Panel* form = panel("Form", 10, 0, {label("Inside", 0, 0), button("Y", 0, 1)}, true);
  std::unique_ptr<Panel> root(panel("Root", 0, 0, {label("Outside", 0, 0), form}));
  root->Render();
  form->Focus();
  Control* outside = root->GetItem("Outside");
  Control* inside = form->GetItem("Inside");
  EXPECT_FALSE(inside->OnMouseClick(screen.Click(12, 2).get()));
  EXPECT_EQ(form->GetBlinkPhase(), 0);
  EXPECT_FALSE(outside->OnMouseClick(screen.Click(1, 1).get()));
  EXPECT_EQ(form->GetBlinkPhase(), 1);
  EXPECT_EQ(Control::BlinkTimeout(), 1000);
  EXPECT_TRUE(LogCapture::InOrder(
      log.Take(), {"Control::OnMouseClick Inside of type Label is not focusable.",
                   "Control::OnMouseClick Outside of type Label is not focusable."}));
}

TEST_F(ControlTest, ABlinkShowsThreePhasesOneSecondApartThenTheNormalLook) {
  std::unique_ptr<Panel> form(panel("Form", 0, 0, {button("Y", 0, 0)}, true));
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
  std::unique_ptr<Panel> first(panel("First", 0, 0, {button("Y", 0, 0)}, true));
  std::unique_ptr<Panel> second(panel("Second", 0, 5, {button("N", 0, 0)}, true));
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
