#include "forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

#include "forms/AlertForm.h"
#include "forms/ConfirmForm.h"
#include "forms/SettingsDesk.h"
#include "ui/Button.h"
#include "ui/Panel.h"

namespace {
Position at(Control* control) {
  std::unique_ptr<Position> position(control->GetPosition());
  return *position;
}
}  // namespace

TEST(ConfirmForm, EachAnswerRunsItsCallbackThenAsksToClose) {
  SettingsDesk desk;
  std::vector<std::string> calls;
  ConfirmForm form(
      desk.log.Get(), &desk.resources, nullptr, &desk.stage, "Q", "", "Go?",
      [&] { calls.push_back("yes " + std::to_string(desk.stage.closes)); },
      [&] { calls.push_back("no " + std::to_string(desk.stage.closes)); });
  form.GetApplyButton()->OnKeyPress(10);
  EXPECT_TRUE(form.Dismiss());
  EXPECT_EQ(calls, (std::vector<std::string>{"yes 0", "no 1"}));
  EXPECT_EQ(desk.stage.closes, 2);
  ConfirmForm quiet(
      desk.log.Get(), &desk.resources, nullptr, &desk.stage, "Q", "", "Go?", [] {}, nullptr);
  EXPECT_TRUE(quiet.Dismiss());
  EXPECT_EQ(desk.stage.closes, 3);
}

TEST(Form, LargerThanTheScreenStartsAtTheTopLeftCorner) {
  struct Case {
    int width, height;
    int x, y;
  } cases[] = {{100, 30, 32, 12}, {10, 2, 0, 0}};
  for (const Case& c : cases) {
    SettingsDesk desk;
    desk.stage.width = c.width;
    desk.stage.height = c.height;
    AlertForm form(desk.log.Get(), &desk.resources, nullptr, &desk.stage, "A", "",
                   "Do you want to leave the program?", nullptr);
    Position placed = at(form.GetPanel());
    EXPECT_EQ(placed.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(placed.y, c.y) << c.width << "x" << c.height;
  }
}
