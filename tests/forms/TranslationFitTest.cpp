// The shipped texts of every language fit the terminal that the English interface needs: the
// main window, and every form with all of its messages shown.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>

#include "forms/AdditionsForm.h"
#include "forms/AlertForm.h"
#include "forms/ConfirmForm.h"
#include "forms/DockerCEForm.h"
#include "forms/InstallForm.h"
#include "forms/PatchForm.h"
#include "forms/WebServerTolmForm.h"
#include "forms/WindowDesk.h"
#include "ui/Field.h"
#include "ui/Number.h"
#include "ui/Panel.h"

namespace {

const char* const LANGUAGES[] = {"Resources.res", "Resources.ru.res"};

std::map<std::string, std::string> shippedTexts(const std::string& file) {
  LogCapture log;
  Resources resources(log.Get(), DEPLOYER_SOURCE_DIR "/share/" + file);
  resources.Load();
  return resources.texts;
}

// The smallest terminal the main window fits with the texts of the file, read from the notice
// it logs on a screen far too small.
Size windowNeeds(const std::string& file) {
  WindowDesk desk(10, 5);
  desk.resources.texts = shippedTexts(file);
  desk.Run({});
  for (const std::string& line : desk.log.Take()) {
    const std::string mark = " is too small for ";
    size_t at = line.find(mark);
    if (line.rfind("Window::checkFit ", 0) == 0 && at != std::string::npos) {
      std::istringstream cells(line.substr(at + mark.size()));
      int width = 0, height = 0;
      char x = 0;
      cells >> width >> x >> height;
      return Size(width, height);
    }
  }
  ADD_FAILURE() << "no size logged";
  return Size(0, 0);
}

// Empties every text field and puts 0 into every number of the control and its children, so
// that applying the form shows its messages.
void clearInputs(Control* control) {
  if (dynamic_cast<Field*>(control) != nullptr)
    SettingsDesk::Retype(control, "");
  else if (dynamic_cast<Number<int>*>(control) != nullptr)
    SettingsDesk::Retype(control, "0");
  for (int index = 0; index < control->GetItemsCount(); ++index)
    clearInputs(control->GetItem(index));
}

// A form built on a stage of the given size with the texts of a file, its messages shown.
using FormMaker = std::function<std::unique_ptr<Form>(SettingsDesk&)>;

template <typename F>
FormMaker settingsForm() {
  return [](SettingsDesk& desk) {
    auto form = std::make_unique<F>(desk.log.Get(), &desk.resources, &desk.settings, &desk.stage);
    desk.Show(*form);
    clearInputs(form->GetPanel());
    form->Apply();
    return form;
  };
}

FormMaker additionsForm() {
  return [](SettingsDesk& desk) {
    auto form = std::make_unique<AdditionsForm>(
        desk.log.Get(), &desk.resources, &desk.settings, &desk.stage, false, [](bool) {}, [] {},
        [](std::string, bool) {});
    desk.Show(*form);
    clearInputs(form->GetPanel());
    form->GetPanel()->GetItem("MigrationPanel")->GetItem("MigrateButton")->OnKeyPress(10);
    return form;
  };
}

FormMaker alert(const char* title, const char* message) {
  return [=](SettingsDesk& desk) {
    return std::make_unique<AlertForm>(desk.log.Get(), &desk.resources, &desk.settings, &desk.stage,
                                       "Alert", desk.resources.texts[title],
                                       desk.resources.texts[message], nullptr);
  };
}

FormMaker question(const char* title, const char* message, const std::string& end = "") {
  return [=](SettingsDesk& desk) {
    return std::make_unique<ConfirmForm>(
        desk.log.Get(), &desk.resources, &desk.settings, &desk.stage, "Question",
        desk.resources.texts[title], desk.resources.texts[message] + end, [] {}, nullptr);
  };
}

const std::pair<const char*, FormMaker> FORMS[] = {
    {"container runtime", settingsForm<DockerCEForm>()},
    {"web server", settingsForm<WebServerTolmForm>()},
    {"install", settingsForm<InstallForm>()},
    {"patch", settingsForm<PatchForm>()},
    {"additions", additionsForm()},
    {"exit", question("EXIT_TITLE", "EXIT_QUESTION")},
    {"delete", question("WARNING", "DELETE_CURRENT_INSTALL", "?")},
    {"unsaved", question("CONFIG", "CHANGED_CONFIG_SKIP")},
    {"saved", alert("SAVE_CONFIG", "SAVED")},
    {"not saved", alert("SAVE_CONFIG", "SAVE_FAILED")},
    {"port", alert("WARNING", "PORT_INVALID")},
    {"failure", alert("WARNING", "OPERATION_FAILED")},
};

// The form with the texts of the file, centred on a screen of the given size; the panel's
// corner and size once its messages are shown.
std::pair<Position, Size> placeForm(const FormMaker& make, const std::string& file, Size screen) {
  SettingsDesk desk("", screen.width, screen.height);
  desk.stage.width = screen.width;
  desk.stage.height = screen.height;
  desk.resources.texts = shippedTexts(file);
  std::unique_ptr<Form> form = make(desk);
  std::unique_ptr<Position> at(form->GetPanel()->GetPosition());
  return {*at, form->GetPanel()->CalculateSize()};
}

// The terminal the English interface needs: room for the main window and for each form.
Size englishNeeds() {
  Size needed = windowNeeds(LANGUAGES[0]);
  for (const auto& [name, make] : FORMS) {
    Size form = placeForm(make, LANGUAGES[0], Size(200, 100)).second;
    needed = Size(std::max(needed.width, form.width), std::max(needed.height, form.height));
  }
  return needed;
}

}  // namespace

TEST(TranslationFit, TheWindowAndEveryFormWithItsMessagesFitTheTerminalOfTheEnglishInterface) {
  Size screen = englishNeeds();
  for (const char* file : LANGUAGES) {
    Size needed = windowNeeds(file);
    EXPECT_LE(needed.width, screen.width) << file;
    EXPECT_LE(needed.height, screen.height) << file;
    for (const auto& [name, make] : FORMS) {
      auto [at, size] = placeForm(make, file, screen);
      EXPECT_LE(at.x + size.width, screen.width) << file << ": " << name;
      EXPECT_LE(at.y + size.height, screen.height) << file << ": " << name;
    }
  }
}
