#include "forms/ConnectionPanel.h"

#include <gtest/gtest.h>

#include "forms/WindowDesk.h"

namespace {
const int Tab = 9;
const int SelectTabs = 9;
}  // namespace

TEST(ConnectionPanel, ALongerLabelPushesTheWholeFieldColumn) {
  WindowDesk desk;
  desk.resources.texts["CONNECT_BASE"] = "Name of the database";
  desk.Run({});
  EXPECT_EQ(desk.Rows(15, 1), " │Database type        <PostgreSQL>                            │");
  EXPECT_EQ(desk.Rows(19, 1), " │Name of the database vaq_app                                 │");
}

TEST(ConnectionPanel, StoresTheKeyOfTheChosenTypeAndNothingElse) {
  struct Case {
    int stored;
    int key;
    int chosen;
  } cases[] = {{0, KEY_LEFT, 3}, {3, KEY_RIGHT, 0}, {1, KEY_RIGHT, 2}};
  for (const Case& c : cases) {
    WindowDesk desk;
    desk.settings.SetInteger("Connection/Type", c.stored);
    std::deque<Step> steps(SelectTabs, Key(Tab));
    steps.push_back(Do([&desk] { desk.Writes(); }));
    steps.insert(steps.end(), {Key(c.key), Key(Tab)});
    desk.Run(steps);
    EXPECT_EQ(desk.settings.GetInteger("Connection/Type"), c.chosen);
    EXPECT_EQ(desk.Writes(), std::vector<std::string>{"Settings::SetInteger Connection/Type as " +
                                                      std::to_string(c.chosen) + "."});
  }
}
