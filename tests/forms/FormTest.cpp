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

TEST(AlertForm, CentresItsOnlyButtonUnderTheMessage) {
  SettingsDesk desk;
  AlertForm form(desk.log.Get(), &desk.resources, nullptr, &desk.stage, "SaveAlertForm", "Saving",
                 "The settings have been saved.", nullptr);
  EXPECT_EQ(form.GetCancelButton(), nullptr);
  form.GetPanel()->Render();
  EXPECT_EQ(desk.screen.Text(34, 12, 31, 5), R"(┌Saving───────────────────────┐
│The settings have been saved.│
│                             │
│             >OK             │
└─────────────────────────────┘)");
  form.GetApplyButton()->OnKeyPress(10);
  EXPECT_EQ(desk.stage.closes, 1);
}

TEST(ConfirmForm, PlacesItsButtonsByTheWidthOfTheContent) {
  struct Case {
    const char* message;
    const char* yes;
    int yesX, noX;
  } cases[] = {
      {"Do you want to leave the program?", "Yes", 12, 17},
      {"Sure?", "Yes, and forget every change", 0, 30},
      {"", "Yes", 0, 5},
  };
  for (const Case& c : cases) {
    SettingsDesk desk;
    desk.resources.texts["YES"] = c.yes;
    ConfirmForm form(
        desk.log.Get(), &desk.resources, nullptr, &desk.stage, "Q", "", c.message, [] {}, nullptr);
    EXPECT_EQ(at(form.GetApplyButton()).x, c.yesX) << c.message;
    EXPECT_EQ(at(form.GetCancelButton()).x, c.noX) << c.message;
    EXPECT_EQ(at(form.GetApplyButton()).y, 2) << c.message;
  }
}

TEST(ConfirmForm, BreaksALineWiderThanTheScreenBetweenWords) {
  SettingsDesk desk;
  desk.stage.width = 40;
  ConfirmForm form(
      desk.log.Get(), &desk.resources, nullptr, &desk.stage, "Q", "",
      "The settings have unsaved changes. Delete without saving them?", [] {}, nullptr);
  form.GetPanel()->Render();
  EXPECT_EQ(desk.screen.Text(2, 12, 36, 6), R"(┌──────────────────────────────────┐
│The settings have unsaved changes.│
│Delete without saving them?       │
│                                  │
│             >Yes >No             │
└──────────────────────────────────┘)");
}

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
  } cases[] = {{100, 30, 32, 12}, {20, 30, 0, 12}, {100, 3, 32, 0}, {10, 2, 0, 0}};
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
