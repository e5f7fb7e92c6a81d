#include <algorithm>

#include "app/Logger.h"
#include "app/Resources.h"
#include "forms/ConfigurePanel.h"
#include "forms/ConnectionPanel.h"
#include "forms/Form.h"
#include "forms/LayoutCheck.h"
#include "forms/Window.h"
#include "ui/Button.h"
#include "ui/Checkbox.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/Failure.h"
#include "util/String.h"

// Lays the screen out for the current size: in full where it fits, otherwise compactly.
void Window::layOut() {
  compact = false;
  buildScreen();
  if (!fitsScreen()) {
    destroyItems(false);
    compact = true;
    buildScreen();
  }
  checkFit();
}

// The compact layout leaves out the blank rows between the blocks on the left and moves the
// title up beside the Exit button.
void Window::buildScreen() {
  layout.clear();
  layoutRow = compact ? 0 : 1;
  addHeader();
  layoutRow++;
  Checkbox* first = addComponent("DockerCECheck", resources->texts["DOCKER_INSTALL_CHECK"],
                                 layoutRow, &installDocker, "SettingsDockerCEButton",
                                 resources->texts["DOCKER_INSTALL_SETTINGS"],
                                 [this] { OnOpenDockerCESettings(); });
  first->Focus();
  addComponent("WebServerTolmCheck", resources->texts["WEB_SERVER_TOLM_CHECK"], nextRow(),
               &installWebServer, "SettingsWebServerTolmButton",
               resources->texts["WEB_SERVER_TOLM_SETTINGS"],
               [this] { OnOpenWebServerTolmSettings(); });
  addConfigurePanel();
  addConnectionPanel();
  int row = nextRow();
  addButton(
      "AdditionsButton", resources->texts["ADDITIONS"],
      [row](int, int) { return Position(1, row); }, [this] { OnOpenAdditions(); });
  layoutRow = row + 1;
  addFooter();
}

void Window::addHeader() {
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
      [this] { OnExit(); });
}

// A check box bound to field and the button that opens its settings, on one row.
Checkbox* Window::addComponent(const std::string& name, const std::string& text, int row,
                               bool* field, const std::string& buttonName,
                               const std::string& buttonText, Action open) {
  auto* check = new Checkbox(logger, name, new Position(1, row), nullptr, text, false);
  append(check);
  check->SetBind([field] { return *field; }, [field](bool value) { *field = value; });
  int x = check->CalculateSize().width + 2;
  addButton(
      buttonName, buttonText, [x, row](int, int) { return Position(x, row); }, std::move(open));
  layoutRow = row + Button::CalculateSizeForContent(buttonText).height;
  return check;
}

void Window::addFooter() {
  std::string note = resources->texts["ROOT_NOTE"];
  Size noteSize(note);
  addLabel("RootNoteLabel", note, Theme::Notice, [noteSize](int width, int height) {
    return Position(width - noteSize.width, height - 3 - noteSize.height);
  });
  addButton(
      "SaveButton", resources->texts["SAVE"],
      [](int, int height) { return Position(0, height - 2); }, [this] { OnSave(); });
  std::string deploy = resources->texts["DEPLOY"];
  std::string update = resources->texts["UPDATE"];
  int deployWidth = Button::CalculateSizeForContent(deploy).width;
  int updateWidth = Button::CalculateSizeForContent(update).width;
  auto deployX = [=](int width) { return std::max(0, width - 1 - deployWidth - updateWidth); };
  addButton(
      "DeployButton", deploy,
      [=](int width, int height) { return Position(deployX(width), height - 2); },
      [this] { OnDeploy(); });
  addButton(
      "UpdateButton", update,
      [=](int width, int height) { return Position(deployX(width) + deployWidth + 1, height - 2); },
      [this] { OnUpdate(); });
}

void Window::addConfigurePanel() {
  ConfigurePanel builder(
      logger, resources, settings,
      {guard("Window::SettingsPatchButton", [this] { OnOpenPatchSettings(); }),
       guard("Window::SettingsInstallButton", [this] { OnOpenInstallSettings(); }),
       [this](Action showStored) {
         Defer([this, showStored] {
           showStored();
           showPortInvalid();
         });
       }});
  stackPanel(builder.Create(new Position(1, nextRow())));
}

void Window::addConnectionPanel() {
  ConnectionPanel builder(logger, resources, settings);
  stackPanel(builder.Create(new Position(1, nextRow())));
}

// The panel goes below the last block on the left side.
void Window::stackPanel(Panel* panel) {
  append(panel);
  layoutRow = nextRow() + panel->CalculateSize().height;
}

void Window::addLabel(const std::string& name, const std::string& text, Theme theme,
                      Placer placer) {
  append(new Label(logger, name, placeOnScreen(placer), nullptr, text, theme), placer);
}

void Window::addButton(const std::string& name, const std::string& text, Placer placer,
                       Action handler) {
  append(new Button(logger, name, placeOnScreen(placer), nullptr, text,
                    guard("Window::" + name, std::move(handler))),
         placer);
}

Position* Window::placeOnScreen(const Placer& placer) {
  Size screen = GetSize();
  return new Position(placer(screen.width, screen.height));
}

void Window::append(Control* item) {
  std::unique_ptr<Position> at(item->GetPosition());
  Position fixed = *at;
  append(item, [fixed](int, int) { return fixed; });
}

void Window::append(Control* item, Placer placer) {
  items.push_back(item);
  layout.push_back({item, std::move(placer), item->CalculateSize()});
}

Window::Action Window::guard(const std::string& operation, Action action) {
  return [this, operation, action] {
    try {
      action();
    } catch (...) {
      ReportFailure(operation, Failure::Caught().text);
    }
  };
}

LayoutCheck::Blocks Window::blocksAt(int width, int height) const {
  LayoutCheck::Blocks blocks;
  for (const Slot& slot : layout) {
    Position at = slot.placer(width, height);
    blocks.push_back({at.x, at.y, slot.size.width, slot.size.height});
  }
  return blocks;
}

bool Window::fitsScreen() {
  Size screen = GetSize();
  return LayoutCheck::Fits(blocksAt(screen.width, screen.height), screen.width, screen.height);
}

// The screen is too small while the laid-out items leave it or overlap; the notice then names
// the size that makes room and how to leave.
void Window::checkFit() {
  Size screen = GetSize();
  tooSmall = !fitsScreen();
  notice.reset();
  hint.reset();
  if (!tooSmall) {
    addHint();
    return;
  }
  Size needed =
      LayoutCheck::Needed([this](int width, int height) { return blocksAt(width, height); });
  auto cells = [](const Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
  };
  std::string text = resources->texts["TERMINAL_TOO_SMALL"] + cells(needed) + "\n" +
                     resources->texts["TERMINAL_TOO_SMALL_ESCAPE"];
  logger->Write("Window::checkFit " + cells(screen) + " is too small for " + cells(needed) + ".");
  notice = std::make_unique<Label>(logger, "TooSmallLabel", new Position(0, 0),
                                   new Size(std::max(screen.width, 0), std::max(screen.height, 0)),
                                   text, Theme::Basic);
}

// The hints take the row above the bottom buttons when no item is there, in the compact layout
// only: the full layout stays exactly as it has always been drawn.
void Window::addHint() {
  if (!compact)
    return;
  Size screen = GetSize();
  LayoutCheck::Blocks blocks = blocksAt(screen.width, screen.height);
  blocks.push_back({0, screen.height - 3, screen.width, 1});
  if (!LayoutCheck::Fits(blocks, screen.width, screen.height))
    return;
  hint = std::make_unique<Label>(logger, "HintLabel", new Position(0, screen.height - 3),
                                 new Size(screen.width, 1), "", Theme::Basic);
  hintShown.clear();
}

// Lays the screen out again for the current size; the modal form and the focus stay.
void Window::relayout() {
  Control* formPanel = modalForm ? modalForm->GetPanel() : nullptr;
  std::vector<int> activePath = formPanel ? std::vector<int>() : pathOf(Control::GetActive());
  std::vector<int> beforeFormPath = pathOf(focusBeforeForm);
  if (formPanel)
    items.pop_back();
  destroyItems(false);
  layOut();
  if (formPanel) {
    items.push_back(formPanel);
    focusBeforeForm = controlAt(beforeFormPath);
  } else if (Control* focused = controlAt(activePath)) {
    focused->Focus();
  }
}

void Window::destroyItems(bool logged) {
  for (size_t index = 0; index < items.size(); ++index) {
    if (logged)
      logger->Write("Destroy window item[" + std::to_string(index) + "].");
    delete items[index];
  }
  if (logged)
    logger->Write("Clear window items list.");
  items.clear();
  layout.clear();
  if (logged)
    logger->Write("Window items destroyed.");
}

// The indexes that lead from the window items down to control; empty when it is not there.
std::vector<int> Window::pathOf(Control* control) const {
  std::vector<int> path;
  for (Control* item = control; item; item = item->GetParent()) {
    Control* parent = item->GetParent();
    int count = parent ? parent->GetItemsCount() : static_cast<int>(items.size());
    int index = 0;
    while (index < count && (parent ? parent->GetItem(index) : items[index]) != item)
      ++index;
    if (index == count)
      return {};
    path.insert(path.begin(), index);
  }
  return path;
}

Control* Window::controlAt(const std::vector<int>& path) const {
  Control* control = nullptr;
  for (int index : path) {
    int count = control ? control->GetItemsCount() : static_cast<int>(items.size());
    if (index >= count)
      return nullptr;
    control = control ? control->GetItem(index) : items[index];
  }
  return control;
}
