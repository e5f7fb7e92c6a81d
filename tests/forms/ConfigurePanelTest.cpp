#include "forms/ConfigurePanel.h"

#include <gtest/gtest.h>

#include <cstring>

#include "forms/Form.h"
#include "forms/WindowDesk.h"

namespace {
const int VersionTabs = 4, PortTabs = 6;
const int FieldX = 19, VersionY = 7, PortY = 9;

// Tabs to a field of the panel, clears it and types text, then leaves it with Tab.
std::deque<Step> retype(int tabs, const std::string& text) {
  std::deque<Step> steps(tabs, Key(Tab));
  steps.push_back(Do([text] { SettingsDesk::Retype(Control::GetActive(), text); }));
  steps.push_back(Key(Tab));
  return steps;
}
}  // namespace

TEST(ConfigurePanel, RepairsAVersionThatIsNotValidWhenLeftAndStoresTheRepairedText) {
  struct Case {
    const char* typed;
    const char* stored;
  } cases[] = {
      {"24", "24.0.0.0"},
      {"", "1.0.0.0"},
      {"24.4294967296", "24.0.0.0"},  // a part too large for a version
  };
  for (const Case& c : cases) {
    WindowDesk desk;
    desk.Run(retype(VersionTabs, c.typed));
    EXPECT_EQ(desk.screen.Text(FieldX, VersionY, 12, 1),
              c.stored + std::string(12 - strlen(c.stored), ' '));
    EXPECT_EQ(desk.settings.GetString("Patch/Version"), c.stored) << c.typed;
    EXPECT_EQ(desk.Active(), "SettingsPatchButton");
  }
}

TEST(ConfigurePanel, RefusesAChangedPortOutsideThePortRangeWithAnAlert) {
  struct Case {
    int stored;
    const char* typed;
    int kept;
    bool alert;
  } cases[] = {{8090, "70000", 8090, true}, {8090, "8081", 8081, false}, {0, "0", 0, false}};
  for (const Case& c : cases) {
    WindowDesk desk;
    desk.settings.SetInteger("Install/Port", c.stored);
    desk.log.Take();
    std::string shown, alert;
    std::deque<Step> steps = retype(PortTabs, c.typed);
    steps.push_back(Do([&] {
      shown = desk.screen.Text(FieldX, PortY, 8, 1);
      Form* form = desk.window->GetModalForm();
      bool told = desk.Rows(0, 30).find("Enter a port from 1 to 65535.") != std::string::npos;
      alert = form ? form->GetName() + (told ? " tells the range" : "") : "";
    }));
    if (c.alert)
      steps.push_back(Key(Enter));
    desk.Run(steps);
    std::string kept = std::to_string(c.kept);
    EXPECT_EQ(shown, std::string(8 - kept.size(), ' ') + kept) << c.typed;
    EXPECT_EQ(desk.settings.GetInteger("Install/Port"), c.kept) << c.typed;
    EXPECT_EQ(alert, c.alert ? "PortAlertForm tells the range" : "") << c.typed;
    EXPECT_EQ(desk.window->GetModalForm(), nullptr);
    EXPECT_EQ(desk.Active(), "SettingsInstallButton") << c.typed;
  }
}
