#include "forms/AdditionsForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "forms/WindowDesk.h"
#include "support/WorkingDirectory.h"

// Migrating from the running installation's own settings file would uninstall it.
TEST(AdditionsForm, RefusesTheCurrentSettingsFileWithOneRedMessage) {
  for (std::optional<std::string> path : {std::optional<std::string>(), {"linked.json"}}) {
    WindowDesk desk;
    WorkingDirectory inside(desk.dir.Path());
    std::filesystem::create_symlink("Settings.json", desk.dir.File("linked.json"));
    std::deque<Step> steps = {Do([&desk] { desk.window->OnOpenAdditions(); }), Key(Tab), Key(Tab)};
    if (path)
      steps.push_back(Do([path] { SettingsDesk::Retype(Control::GetActive(), *path); }));
    steps.insert(steps.end(), {Key(Tab), Key('x'), Key(Tab), Key(Enter), Key(Enter)});
    std::string message;
    steps.push_back(Do([&] { message = desk.screen.Text(23, 14, 54, 2); }));
    EXPECT_EQ(desk.Run(steps), WindowAction::NO_ACTION);
    EXPECT_EQ(message,
              "Enter the settings file of the other installation.    \n"
              " ◆ -Delete the other installation afterwards          ");
    EXPECT_EQ(desk.screen.At(23, 14).pair, 7);
    EXPECT_NE(desk.window->GetModalForm(), nullptr);
  }
}

TEST(AdditionsForm, DrawsItsRowsAndTheMigrationPanelInsideItsFrame) {
  WindowDesk desk;
  std::string picture;
  desk.Run({Do([&desk] { desk.window->OnOpenAdditions(); }),
            Do([&] { picture = desk.screen.Text(21, 8, 58, 14); })});
  EXPECT_EQ(picture, R"(┌Additions───────────────────────────────────────────────┐
│   -Ignore server certificates when downloading         │
│Delete the current installation >Delete                 │
│┌Migration─────────────────────────────────────────────┐│
││Take over the settings of another installation.       ││
││Settings file ./Settings.json                         ││
││                                                      ││
││ ◆ -Delete the other installation afterwards          ││
││                                                      ││
││                                              >Migrate││
│└──────────────────────────────────────────────────────┘│
│                                                        │
│                         >Close                         │
└────────────────────────────────────────────────────────┘)");
}
