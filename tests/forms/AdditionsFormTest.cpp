#include "forms/AdditionsForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "controllers/ControllerArguments.h"
#include "forms/SettingsDesk.h"
#include "forms/WindowDesk.h"
#include "support/WorkingDirectory.h"
#include "ui/Panel.h"

namespace {
const int Enter = 10;
const int Tab = 9;
const int Escape = 27;

const std::string Drawn = R"(┌Additions───────────────────────────────────────────────┐
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
└────────────────────────────────────────────────────────┘)";

// Where the form and the invalid path message appear on the 100 x 30 screen.
const int FormX = 21, FormY = 8, MessageX = 23, MessageY = 14;

// Opens the form, moves to the path field and replaces its text unless text is empty.
std::deque<Step> toPathField(WindowDesk& desk, std::optional<std::string> text) {
  std::deque<Step> steps = {Do([&desk] { desk.window->OnOpenAdditions(); }), Key(Tab), Key(Tab)};
  if (text)
    steps.push_back(Do([text] { SettingsDesk::Retype(Control::GetActive(), *text); }));
  return steps;
}

// From the path field: leaves the delete box as it is or clears it, then presses Migrate.
void pressMigrate(std::deque<Step>& steps, bool clearDelete, int presses) {
  steps.insert(steps.end(), {Key(Tab), Key(clearDelete ? Enter : 'x'), Key(Tab)});
  for (int i = 0; i < presses; ++i)
    steps.push_back(Key(Enter));
}
}  // namespace

TEST(AdditionsForm, DrawsItsChoicesAndTheMigrationPanelWithTheFirstFocused) {
  WindowDesk desk;
  std::string shown;
  desk.Run({Click(2, 22), Do([&] { shown = desk.screen.Text(FormX, FormY, 58, 14); })});
  EXPECT_EQ(shown, Drawn);
  EXPECT_EQ(desk.Active(), "IgnoreServerCertsCheckbox");
}

TEST(AdditionsForm, TheIgnoreCertificatesChoiceReachesTheArgumentsAtOnce) {
  WindowDesk desk;
  Window& window = desk.Make({Do([&] { desk.window->OnOpenAdditions(); }), Key(Enter), Key(Enter),
                              Key(Enter), Key(Escape)});
  window.Show(&desk.version);
  EXPECT_EQ(window.GetModalForm(), nullptr);
  EXPECT_TRUE(
      ControllerArguments(desk.log.Get(), &desk.resources, &desk.settings, &window).IgnoreCerts());
}

// Migrating from the running installation's own settings file would uninstall it.
TEST(AdditionsForm, RefusesAnEmptyPathAndTheCurrentSettingsFileWithOneRedMessage) {
  struct Case {
    std::optional<std::string> path;  // none: the default path, in the settings folder
    const char* logged;
  } cases[] = {
      {"", "AdditionsForm::OnMigrate Path is empty."},
      {std::nullopt, "AdditionsForm::OnMigrate Path is the current settings file ./Settings.json."},
      {"linked.json", "AdditionsForm::OnMigrate Path is the current settings file linked.json."},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    WorkingDirectory inside(desk.dir.Path());
    std::filesystem::create_symlink("Settings.json", desk.dir.File("linked.json"));
    std::deque<Step> steps = toPathField(desk, c.path);
    pressMigrate(steps, false, 2);
    std::string message;
    int messages = 0;
    steps.push_back(Do([&] {
      message = desk.screen.Text(MessageX, MessageY, 54, 2);
      Control* migration = desk.window->GetModalForm()->GetPanel()->GetItem("MigrationPanel");
      for (int i = 0; i < migration->GetItemsCount(); ++i)
        messages += migration->GetItem(i)->GetName() == MIGRATION_PATH_INVALID_LABEL_NAME;
    }));
    EXPECT_EQ(desk.Run(steps), WindowAction::NO_ACTION);
    EXPECT_EQ(message,
              "Enter the settings file of the other installation.    \n"
              " ◆ -Delete the other installation afterwards          ");
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(desk.screen.At(MessageX, MessageY).pair, 7);
    EXPECT_NE(desk.window->GetModalForm(), nullptr);
    EXPECT_EQ(LogCapture::Count(desk.log.Take(), c.logged), 2) << c.logged;
  }
}

TEST(AdditionsForm, MigrateHandsThePathAndTheDeleteChoiceOverOnceTheFormHasGone) {
  struct Case {
    std::optional<std::string> path;
    bool clearDelete;
    const char* handed;
  } cases[] = {
      {std::nullopt, false, "./Settings.json"},  // not the settings file of this folder
      {"/srv/old/Settings.json", true, "/srv/old/Settings.json"},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    std::deque<Step> steps = toPathField(desk, c.path);
    pressMigrate(steps, c.clearDelete, 1);
    Window& window = desk.Make(steps);
    EXPECT_EQ(window.Show(&desk.version), WindowAction::MIGRATE);
    ControllerArguments arguments(desk.log.Get(), &desk.resources, &desk.settings, &window);
    EXPECT_EQ(arguments.MigratePath(), c.handed);
    EXPECT_EQ(arguments.MigrateDelete(), !c.clearDelete);
    EXPECT_EQ(window.GetModalForm(), nullptr);
  }
}

TEST(AdditionsForm, DeleteClosesTheFormBeforeTheWindowAsks) {
  WindowDesk desk;
  std::string asking;
  desk.Run({Do([&] { desk.window->OnOpenAdditions(); }), Key(Tab), Key(Enter),
            Do([&] { asking = desk.window->GetModalForm()->GetName(); })});
  EXPECT_EQ(asking, "DeleteConfirmForm");
}
