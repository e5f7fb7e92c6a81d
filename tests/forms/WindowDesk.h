#pragma once

// The main window on the in-memory screen, with the shipped texts and a copy of the shipped
// settings, the log collected:
//
//   WindowDesk desk;
//   int action = desk.Run({Key('\t'), Key(10)});   // Show with a script (see ScreenTerminal.h)
//   EXPECT_EQ(desk.Active(), "SettingsDockerCEButton");
//   EXPECT_EQ(desk.Rows(0, 3), R"(...)");           // rows without their trailing blanks

#include <memory>
#include <string>

#include "app/Version.h"
#include "forms/ScreenTerminal.h"
#include "forms/SettingsDesk.h"
#include "forms/Window.h"

class WindowDesk : public SettingsDesk {
 public:
  explicit WindowDesk(int width = Screen::DefaultWidth, int height = Screen::DefaultHeight)
      : SettingsDesk("", width, height) {}

  int Run(std::deque<Step> script) {
    window = std::make_unique<Window>(log.Get(), &resources, &settings,
                                      new ScreenTerminal(std::move(script)));
    return window->Show(&version);
  }

  std::string Active() const {
    Control* active = Control::GetActive();
    return active ? active->GetName() : "";
  }
  // The rows from y on, each without its trailing blanks.
  std::string Rows(int y, int count) const {
    std::string text;
    for (int row = y; row < y + count; ++row) {
      std::string line = screen.Row(row);
      line.erase(line.find_last_not_of(' ') + 1);
      text += (row > y ? "\n" : "") + line;
    }
    return text;
  }

  Version version{"1.24.2.1"};
  std::unique_ptr<Window> window;
};
