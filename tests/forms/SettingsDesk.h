#pragma once

// A settings form on the in-memory screen, with the shipped texts and a copy of the shipped
// settings (or settings of the test's own), the log collected and the close requests counted:
//
//   FormDesk<WebServerTolmForm> desk;                 // the form built, drawn and focused
//   desk.Retype(desk.Item("WebServerTolmUrlField"), "");
//   desk.form.Apply();
//   EXPECT_EQ(desk.stage.closes, 0);
//   EXPECT_TRUE(desk.Writes().empty());               // settings changed since the last call

#include <curses.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Resources.h"
#include "app/Settings.h"
#include "support/LogCapture.h"
#include "support/Screen.h"
#include "support/TempDir.h"
#include "ui/Container.h"
#include "ui/Panel.h"

// A screen that counts the close requests of its forms.
class FormStage : public Container {
 public:
  explicit FormStage(Logger* logger) : Container(logger, "Stage", {}) {}
  Size GetSize() override { return Size(Screen::DefaultWidth, Screen::DefaultHeight); }
  void ChildDestroyHandler() override { ++closes; }

  int closes = 0;
};

class SettingsDesk {
 public:
  // json replaces the shipped settings when given.
  explicit SettingsDesk(const std::string& json = "", int width = Screen::DefaultWidth,
                        int height = Screen::DefaultHeight)
      : screen(width, height),
        resources(log.Get(), DEPLOYER_SOURCE_DIR "/share/Resources.res"),
        settings(log.Get(), settingsFile(json)),
        stage(log.Get()) {
    resources.Load();
    settings.Load();
    log.Take();
  }

  // Clears a text or number field of up to 100 characters from its end and types text.
  static void Retype(Control* field, const std::string& text) {
    field->OnKeyPress(KEY_END);
    for (int i = 0; i < 100; ++i)
      field->OnKeyPress(127);
    for (unsigned char c : text)
      field->OnKeyPress(c);
  }

  // The settings changes logged since the previous call.
  std::vector<std::string> Writes() {
    std::vector<std::string> writes;
    for (const std::string& line : log.Take())
      if (line.rfind("Settings::Set", 0) == 0)
        writes.push_back(line);
    return writes;
  }

  Screen screen;
  LogCapture log;
  TempDir dir;
  Resources resources;
  Settings settings;
  FormStage stage;

 private:
  std::string settingsFile(const std::string& json) {
    std::string file = dir.File("Settings.json");
    if (json.empty())
      std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json", file);
    else
      dir.Write("Settings.json", json);
    return file;
  }
};

// A desk with a settings form of class F built over it, drawn and focused, the log emptied.
template <typename F>
struct FormDesk : SettingsDesk {
  explicit FormDesk(const std::string& json = "")
      : SettingsDesk(json), form(log.Get(), &resources, &settings, &stage) {
    form.GetPanel()->Render();
    form.GetPanel()->Focus();
    log.Take();
  }
  Control* Item(const std::string& name) { return form.GetPanel()->GetItem(name); }

  F form;
};
