#include "forms/Window.h"

#include <curses.h>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Version.h"
#include "forms/CursesTerminal.h"
#include "forms/Form.h"
#include "forms/MainScreen.h"
#include "forms/Terminal.h"
#include "util/Failure.h"

namespace {
const short Pairs[7][2] = {{COLOR_WHITE, COLOR_BLUE},  {COLOR_YELLOW, COLOR_BLUE},
                           {COLOR_BLACK, COLOR_WHITE}, {COLOR_BLACK, COLOR_CYAN},
                           {COLOR_YELLOW, COLOR_CYAN}, {COLOR_WHITE, COLOR_MAGENTA},
                           {COLOR_WHITE, COLOR_RED}};
}  // namespace

Window::Window(Logger* logger, Resources* resources, Settings* settings)
    : Window(logger, resources, settings, new CursesTerminal()) {}

Window::Window(Logger* logger, Resources* resources, Settings* settings, Terminal* terminal)
    : Container(logger, "Window", {EVENT_MODAL_FORM_CLOSED}),
      logger(logger),
      resources(resources),
      settings(settings),
      terminal(terminal),
      layout(logger, resources),
      modal(logger, &layout.Items(), this, [this] { Refresh(); }),
      loop(logger, settings, terminal, &layout, &modal, this) {}

Window::~Window() {
  logger->Write("Destroying Window");
  try {
    closeModalForm();
  } catch (...) {
    logger->Write(Failure::Caught().text);
  }
  layout.Destroy();
  terminal->Close();
}

int Window::Show(Version* version) {
  terminal->Open();
  themeInit();
  // The background each erase fills the screen with; the first drawing erases it all.
  wbkgdset(stdscr, COLOR_PAIR(1) | ' ');
  screen = std::make_unique<MainScreen>(logger, resources, settings, &layout, screenActions(),
                                        resources->texts["VERSION"] + version->ToString());
  layout.LayOut([this] { buildScreen(); });
  Refresh();
  logger->Write(
      "----------------------------Start Window Processing---------------------------------");
  loop.Run();
  logger->Hold();  // the window's teardown lines go out in one write, once it is gone
  logger->Write(
      "-----------------------------End Window Processing----------------------------------");
  return loop.Action();
}

// What the controls of the main screen do: each runs a handler of the window.
MainScreen::Actions Window::screenActions() {
  MainScreen::Actions actions;
  actions.guard = [this](const std::string& operation, const Action& action) {
    return guard(operation, action);
  };
  actions.exit = [this] { OnExit(); };
  actions.save = [this] { OnSave(); };
  actions.deploy = [this] { OnDeploy(); };
  actions.update = [this] { OnUpdate(); };
  actions.openDockerCE = [this] { OnOpenDockerCESettings(); };
  actions.openWebServer = [this] { OnOpenWebServerTolmSettings(); };
  actions.openPatch = [this] { OnOpenPatchSettings(); };
  actions.openInstall = [this] { OnOpenInstallSettings(); };
  actions.openAdditions = [this] { OnOpenAdditions(); };
  actions.portRefused = [this](const Action& showStored) {
    Defer([this, showStored] {
      showStored();
      showPortInvalid();
    });
  };
  actions.installDocker = &choices.installDocker;
  actions.installWebServer = &choices.installWebServer;
  return actions;
}

void Window::buildScreen() {
  screen->Build();
}

Size Window::GetSize() {
  return ScreenLayout::ScreenSize();
}

void Window::themeInit() {
  // The terminal's own colours stand for pair 0, which no item uses, so that resetting to it after
  // each update costs fewer bytes. Said before colours start, pair 0 is made so at once; said
  // after, curses changes it and walks the whole screen for the cells that use it.
  use_default_colors();
  start_color();
  for (short pair = 1; pair <= 7; ++pair)
    init_pair(pair, Pairs[pair - 1][0], Pairs[pair - 1][1]);
}

void Window::Refresh() {
  layout.Draw(modal.Current());
}

void Window::ChildDestroyHandler() {
  modal.RequestClose();
}

void Window::CloseCurrentForm() {
  ChildDestroyHandler();
}

void Window::showModalForm(Form* form) {
  modal.Show(form, !layout.TooSmall());
}

void Window::closeModalForm() {
  modal.Close();
}

void Window::append(Control* item) {
  layout.Append(item);
}

Window::Action Window::guard(const std::string& operation, const Action& action) {
  return [this, operation, action] {
    try {
      action();
    } catch (...) {
      ReportFailure(operation, Failure::Caught().text);
    }
  };
}

bool Window::ReportFailure(const std::string& operation, const std::string& message) {
  logger->Write(operation + " failed:");
  logger->Write(message);
  failurePending = true;
  return true;
}

void Window::Defer(std::function<void()> action) {
  deferred.push_back(std::move(action));
}

bool Window::ServePending() {
  if (modal.CloseRequested())
    modal.ServeCloseRequest();
  else if (failurePending)
    showFailure();
  else if (!deferred.empty())
    runDeferred();
  else
    return false;
  return true;
}

void Window::showFailure() {
  failurePending = false;
  showAlert("FailureAlertForm", resources->texts["WARNING"], resources->texts["OPERATION_FAILED"]);
}

void Window::runDeferred() {
  Action action = std::move(deferred.front());
  deferred.erase(deferred.begin());
  try {
    action();
  } catch (...) {
    ReportFailure("Window::runDeferred", Failure::Caught().text);
  }
}

// The terminal may have moved or cut what it showed while resizing, so the next update repaints
// every cell instead of only those that changed.
void Window::Resize() {
  layout.Relayout(&modal, [this] { buildScreen(); });
  clearok(curscr, TRUE);
  Refresh();
}

void Window::AskExit() {
  OnExit();
}

void Window::LeaveScreenMode() {
  terminal->Close();
}
