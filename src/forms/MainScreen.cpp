#include "forms/MainScreen.h"

#include <algorithm>

#include "app/Resources.h"
#include "forms/ConfigurePanel.h"
#include "forms/ConnectionPanel.h"
#include "ui/Button.h"
#include "ui/Checkbox.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/String.h"

MainScreen::MainScreen(Logger* logger, Resources* resources, Settings* settings,
                       ScreenLayout* layout, Actions actions, std::string versionText)
    : logger(logger),
      resources(resources),
      settings(settings),
      layout(layout),
      actions(std::move(actions)),
      versionText(std::move(versionText)) {}

void MainScreen::Build() {
  layoutRow = layout->Compact() ? 0 : 1;
  addHeader();
  layoutRow++;
  Checkbox* first = addComponent("DockerCECheck", resources->texts["DOCKER_INSTALL_CHECK"],
                                 layoutRow, actions.installDocker, "SettingsDockerCEButton",
                                 resources->texts["DOCKER_INSTALL_SETTINGS"], actions.openDockerCE);
  first->Focus();
  addComponent("WebServerTolmCheck", resources->texts["WEB_SERVER_TOLM_CHECK"], nextRow(),
               actions.installWebServer, "SettingsWebServerTolmButton",
               resources->texts["WEB_SERVER_TOLM_SETTINGS"], actions.openWebServer);
  addConfigurePanel();
  addConnectionPanel();
  addAdditions();
  addFooter();
}

void MainScreen::addHeader() {
  std::string title = resources->texts["MAIN_TITLE"];
  int titleHalf = String::LengthW(title) / 2;
  int titleRow = layoutRow;
  addLabel("TitleL", title, Theme::Basic, [titleHalf, titleRow](int width, int) {
    return Position(std::max(0, width / 2 - titleHalf), titleRow);
  });
  addLabel("VersionL", versionText, Theme::Basic,
           [](int, int height) { return Position(0, height - 1); });
  std::string copyright = resources->texts["COPYRIGHT"];
  int copyrightLength = String::LengthW(copyright);
  int versionLength = String::LengthW(versionText);
  addLabel("CopyrightL", copyright, Theme::Basic, [=](int width, int height) {
    return Position(std::max(width - copyrightLength, versionLength + 1), height - 1);
  });
  std::string exit = resources->texts["EXIT_BUTTON"];
  int exitWidth = Button::CalculateSizeForContent(exit).width;
  addButton(
      "ExitB", exit, [exitWidth](int width, int) { return Position(width - exitWidth, 0); },
      actions.exit);
}

// A check box bound to field and the button that opens its settings, on one row.
Checkbox* MainScreen::addComponent(const std::string& name, const std::string& text, int row,
                                   bool* field, const std::string& buttonName,
                                   const std::string& buttonText, Action open) {
  auto* check = new Checkbox(logger, name, new Position(1, row), nullptr, text, false);
  layout->Append(check);
  check->SetBind([field] { return *field; }, [field](bool value) { *field = value; });
  int x = check->CalculateSize().width + 2;
  addButton(
      buttonName, buttonText, [x, row](int, int) { return Position(x, row); }, std::move(open));
  layoutRow = row + Button::CalculateSizeForContent(buttonText).height;
  return check;
}

void MainScreen::addConfigurePanel() {
  ConfigurePanel builder(
      logger, resources, settings,
      {actions.guard("Window::SettingsPatchButton", actions.openPatch),
       actions.guard("Window::SettingsInstallButton", actions.openInstall), actions.portRefused});
  stackPanel(builder.Create(new Position(1, nextRow())));
}

void MainScreen::addConnectionPanel() {
  ConnectionPanel builder(logger, resources, settings);
  stackPanel(builder.Create(new Position(1, nextRow())));
}

void MainScreen::addAdditions() {
  int row = nextRow();
  addButton(
      "AdditionsButton", resources->texts["ADDITIONS"],
      [row](int, int) { return Position(1, row); }, actions.openAdditions);
  layoutRow = row + 1;
}

void MainScreen::addFooter() {
  std::string note = resources->texts["ROOT_NOTE"];
  Size noteSize(note);
  addLabel("RootNoteLabel", note, Theme::Notice, [noteSize](int width, int height) {
    return Position(width - noteSize.width, height - 3 - noteSize.height);
  });
  addButton(
      "SaveButton", resources->texts["SAVE"],
      [](int, int height) { return Position(0, height - 2); }, actions.save);
  std::string deploy = resources->texts["DEPLOY"];
  std::string update = resources->texts["UPDATE"];
  int deployWidth = Button::CalculateSizeForContent(deploy).width;
  int updateWidth = Button::CalculateSizeForContent(update).width;
  auto deployX = [=](int width) { return std::max(0, width - 1 - deployWidth - updateWidth); };
  addButton(
      "DeployButton", deploy,
      [=](int width, int height) { return Position(deployX(width), height - 2); }, actions.deploy);
  addButton(
      "UpdateButton", update,
      [=](int width, int height) { return Position(deployX(width) + deployWidth + 1, height - 2); },
      actions.update);
}

// The panel goes below the last block on the left side.
void MainScreen::stackPanel(Panel* panel) {
  layout->Append(panel);
  layoutRow = nextRow() + panel->CalculateSize().height;
}

void MainScreen::addLabel(const std::string& name, const std::string& text, Theme theme,
                          const Placer& placer) {
  layout->Append(new Label(logger, name, placeOnScreen(placer), nullptr, text, theme), placer);
}

void MainScreen::addButton(const std::string& name, const std::string& text, const Placer& placer,
                           Action handler) {
  layout->Append(new Button(logger, name, placeOnScreen(placer), nullptr, text,
                            actions.guard("Window::" + name, std::move(handler))),
                 placer);
}

Position* MainScreen::placeOnScreen(const Placer& placer) {
  Size screen = ScreenLayout::ScreenSize();
  return new Position(placer(screen.width, screen.height));
}
