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
  EXPECT_EQ(desk.Rows(14, 7), R"( ┌Database connection──────────────────────────────────────────┐
 │Database type        <PostgreSQL>                            │
 │                                                             │
 │Database server      localhost                               │
 │                                                             │
 │Name of the database vaq_app                                 │
 └─────────────────────────────────────────────────────────────┘)");
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
    steps.push_back(Do([&desk] { desk.log.Take(); }));
    steps.insert(steps.end(), {Key(c.key), Key(Tab)});
    desk.Run(steps);
    EXPECT_EQ(desk.settings.GetInteger("Connection/Type"), c.chosen);
    std::vector<std::string> writes;
    for (const std::string& line : desk.log.Take())
      if (line.rfind("Settings::Set", 0) == 0)
        writes.push_back(line);
    EXPECT_EQ(writes, std::vector<std::string>{"Settings::SetInteger Connection/Type as " +
                                               std::to_string(c.chosen) + "."});
  }
}
