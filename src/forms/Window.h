#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/WindowAction.h"
#include "events/EventNames.h"
#include "forms/LayoutCheck.h"
#include "ui/Container.h"
#include "ui/Control.h"
#include "ui/Theme.h"

class Checkbox;
class ControllerArguments;
class Form;
class Label;
class Panel;
class Logger;
class Resources;
class Settings;
class Terminal;
class Version;

// The whole text interface: it enters screen mode, builds the one screen of the tool, runs the
// keyboard and mouse loop, shows one modal form at a time and returns the action chosen. It
// holds the choices that are not settings, which the controller arguments copy out of it.
// Destroying the window leaves screen mode.
class Window : public Container {
 public:
  // The services are shared and not owned. Runs on the process's own terminal.
  Window(Logger* logger, Resources* resources, Settings* settings);
  // Takes ownership of terminal, which the window runs on instead.
  Window(Logger* logger, Resources* resources, Settings* settings, Terminal* terminal);
  ~Window() override;

  // Enters screen mode, builds the screen and runs the input loop; returns the action.
  int Show(Version* version);
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
  void ReportFailure(const std::string& operation, const std::string& message);
  // Leaves screen mode at once, for a failure that ends the program.
  void LeaveScreenMode();
  // Runs action at the start of the next loop pass, once the current key has been handled (an
  // alert that follows a focus move, for example).
  void Defer(std::function<void()> action);

  bool InputEnded() const { return inputEnded; }
  bool TooSmall() const { return tooSmall; }
  // True while the screen is laid out without the blank rows between the blocks, for a terminal
  // too small for the full layout.
  bool Compact() const { return compact; }
  Form* GetModalForm() const { return modalForm.get(); }
  const ControlList& GetItems() const { return items; }

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
  // Where a layout item goes on a screen of the given size.
  using Placer = std::function<Position(int width, int height)>;
  using Action = std::function<void()>;

  // Appends a layout item placed where it was created, whatever the screen size.
  void append(Control* item);
  void append(Control* item, Placer placer);
  // A handler that reports a failure of action instead of passing it on.
  Action guard(const std::string& operation, Action action);
  void addConfigurePanel();
  void addConnectionPanel();

  int layoutRow = 0;

 private:
  friend class ControllerArguments;

  struct Slot {
    Control* item;
    Placer placer;
    Size size;
  };

  // WindowLayout.cpp
  void layOut();
  void buildScreen();
  int nextRow() const { return layoutRow + (compact ? 0 : 1); }
  void addHeader();
  Checkbox* addComponent(const std::string& name, const std::string& text, int row, bool* field,
                         const std::string& buttonName, const std::string& buttonText, Action open);
  void addFooter();
  void stackPanel(Panel* panel);
  void addLabel(const std::string& name, const std::string& text, Theme theme, Placer placer);
  void addButton(const std::string& name, const std::string& text, Placer placer, Action handler);
  Position* placeOnScreen(const Placer& placer);
  LayoutCheck::Blocks blocksAt(int width, int height) const;
  bool fitsScreen();
  void checkFit();
  void addHint();
  void relayout();
  void destroyItems(bool logged);
  std::vector<int> pathOf(Control* control) const;
  Control* controlAt(const std::vector<int>& path) const;

  // WindowLoop.cpp
  void processing();
  int readKey();
  void handleKey(int key);
  void handleUnconsumed(int key);
  void escape();
  int mouseHandler();
  void switchControl(bool back);
  void serveCloseRequest();
  void showFailure();
  void runDeferred();
  void toggleInsert();
  void showHint();
  void parkCursorAfter(const std::string& text);
  bool hintCovered();

  // WindowHandlers.cpp
  void showAlert(const std::string& name, const std::string& title, const std::string& message);
  void showPortInvalid();
  void showDeleteQuestion(const std::string& name, const std::string& title,
                          const std::string& message, Action onConfirm);

  Logger* logger;
  Resources* resources;
  Settings* settings;
  ControlList items;
  bool finished = false;
  int action = WindowAction::NO_ACTION;
  std::unique_ptr<Form> modalForm;
  Control* focusBeforeForm = nullptr;
  bool closeFormRequested = false;
  bool installDocker = true;
  bool installWebServer = true;
  bool ignoreCerts = false;
  std::string migratePath;
  bool migrateDelete = false;

  std::unique_ptr<Terminal> terminal;
  std::string versionText;
  std::vector<Slot> layout;
  bool tooSmall = false;
  bool compact = false;
  std::unique_ptr<Label> notice;
  // The key hints on the spare row above the bottom buttons, absent without one.
  std::unique_ptr<Label> hint;
  std::string hintShown;
  bool failurePending = false;
  std::vector<Action> deferred;
  bool inputEnded = false;
};
