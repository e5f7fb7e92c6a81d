#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ActionChoices.h"
#include "app/WindowAction.h"
#include "events/EventNames.h"
#include "forms/InputLoop.h"
#include "forms/MainScreen.h"
#include "forms/ModalForms.h"
#include "forms/ScreenLayout.h"
#include "ui/Container.h"
#include "ui/Control.h"

class Form;
class Logger;
class Resources;
class Settings;
class Terminal;
class Version;
class WorkingLock;

// The whole text interface: it enters screen mode, builds the one screen of the tool, runs the
// keyboard and mouse loop, shows one modal form at a time and returns the action chosen. It
// holds the choices that are not settings, which the controller arguments copy out of it.
// Destroying the window leaves screen mode. The layout, the modal form and the input loop are
// its parts; the window ties them together and carries out what the controls ask for.
class Window : public Container, private InputLoop::Host {
 public:
  // The services are shared and not owned. Runs on the process's own terminal.
  Window(Logger* logger, Resources* resources, Settings* settings);
  // Takes ownership of terminal, which the window runs on instead.
  Window(Logger* logger, Resources* resources, Settings* settings, Terminal* terminal);
  ~Window() override;

  // Enters screen mode, builds the screen and runs the input loop; returns the action.
  int Show(Version* version);
  // The working folder's lock (shared, not owned; null: nothing is locked). The window takes it
  // for each save, releasing it afterwards, and for an action, leaving it held for the action.
  void UseLock(WorkingLock* workingLock) { lock = workingLock; }
  // The choices made so far that are not settings.
  const ActionChoices& Choices() const { return choices; }
  // The screen's columns and rows; (-1, -1) without a screen.
  Size GetSize() override;
  void ChildDestroyHandler() override;
  void CloseCurrentForm();
  // Shows form modally; takes ownership of it.
  void showModalForm(Form* form);
  void closeModalForm();
  void themeInit();
  // Clears the screen and draws every item again (only the notice while the screen is too
  // small).
  void Refresh();
  // Logs the failure of operation; an alert says so once the current key has been handled.
  // Always true: the window takes every failure.
  bool ReportFailure(const std::string& operation, const std::string& message) override;
  // Leaves screen mode at once, for a failure that ends the program.
  void LeaveScreenMode();
  // Runs action at the start of the next loop pass, once the current key has been handled (an
  // alert that follows a focus move, for example).
  void Defer(std::function<void()> action);

  bool InputEnded() const { return loop.InputEnded(); }
  bool TooSmall() const { return layout.TooSmall(); }
  // True while the screen is laid out without the blank rows between the blocks, for a terminal
  // too small for the full layout.
  bool Compact() const { return layout.Compact(); }
  Form* GetModalForm() const { return modal.Current(); }
  const ControlList& GetItems() const { return layout.Items(); }

  void OnExit();
  void OnSave();
  void OnDeploy();
  void OnUpdate();
  void OnDelete();
  void OnDeleteConfirm(bool continueWithChanges);
  void OnIgnoreCertsChanged(bool ignore);
  void OnMigrate(std::string path, bool deleteAfter);
  void OnOpenDockerCESettings();
  void OnOpenWebServerTolmSettings();
  void OnOpenPatchSettings();
  void OnOpenInstallSettings();
  void OnOpenAdditions();

 protected:
  using Action = std::function<void()>;

  // Appends a layout item placed where it was created, whatever the screen size; takes
  // ownership.
  void append(Control* item);
  // A handler that reports a failure of action instead of passing it on.
  Action guard(const std::string& operation, const Action& action);

 private:
  // InputLoop::Host
  bool ServePending() override;
  void Resize() override;
  void AskExit() override;

  MainScreen::Actions screenActions();
  void buildScreen();
  void showFailure();
  void runDeferred();

  // WindowHandlers.cpp
  // Saves under the lock; unless overwrite, first asks when the file changed since it was read.
  void saveSettings(bool overwrite);
  void writeSettings();
  // Ends the loop with action once the lock is taken for it.
  void endWith(int action, const std::string& what);
  // Takes the lock for what; when another run holds it, says who in an alert and returns false.
  bool takeLock(const std::string& what);
  void releaseLock();
  void showAlert(const std::string& name, const std::string& title, const std::string& message);
  void showPortInvalid();
  void showDeleteQuestion(const std::string& name, const std::string& title,
                          const std::string& message, Action onConfirm);

  Logger* logger;
  Resources* resources;
  Settings* settings;
  WorkingLock* lock = nullptr;
  ActionChoices choices;

  std::unique_ptr<Terminal> terminal;
  ScreenLayout layout;
  ModalForms modal;
  InputLoop loop;
  std::unique_ptr<MainScreen> screen;
  bool failurePending = false;
  std::vector<Action> deferred;
};
