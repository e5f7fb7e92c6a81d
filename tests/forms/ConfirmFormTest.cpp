#include "forms/ConfirmForm.h"

#include <gtest/gtest.h>

#include "forms/SettingsDesk.h"
#include "ui/Button.h"

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
