#include "forms/ConnectionPanel.h"

#include <gtest/gtest.h>

#include "forms/WindowDesk.h"

namespace {
const int SelectTabs = 9;
}  // namespace

TEST(ConnectionPanel, StoresTheKeyOfTheChosenTypeAndNothingElse) {
  struct Case {
    int stored;
    int key;
    int chosen;
  } cases[] = {{0, KEY_LEFT, 3}, {3, KEY_RIGHT, 0}};
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
