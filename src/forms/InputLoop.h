#pragma once

#include <string>

#include "app/WindowAction.h"
#include "forms/FocusCycle.h"

class Logger;
class ModalForms;
class ScreenLayout;
class Settings;
class Terminal;

// The main window's input loop: it reads one key at a time, makes the ways terminals send the
// same key one code, offers the key to the focused control and handles what the control leaves
// (focus moves, Escape, Insert, mouse clicks, resizes) until a handler ends it with an action.
class InputLoop {
 public:
  // What the loop leaves to the window it runs for.
  class Host {
   public:
    virtual ~Host() = default;
    // Serves work the last key left (a close request, a failure, a deferred step); false when
    // there was none and the next key may be read.
    virtual bool ServePending() = 0;
    // Lays the screen out again for a new size and draws it.
    virtual void Resize() = 0;
    // Asks whether to leave with unsaved changes.
    virtual void AskExit() = 0;
    // Reports the failure of a key's handling; the loop goes on.
    virtual bool ReportFailure(const std::string& operation, const std::string& message) = 0;
  };

  // The services, terminal, layout, modal forms and host are shared and not owned.
  InputLoop(Logger* logger, Settings* settings, Terminal* terminal, ScreenLayout* layout,
            ModalForms* modal, Host* host);

  // Runs until a handler ends the loop, a stop signal arrives or the input ends.
  void Run();
  // Ends the loop with action.
  void End(int chosen);
  // Ends the loop with the action chosen so far.
  void Finish() { finished = true; }

  int Action() const { return action; }
  bool InputEnded() const { return inputEnded; }

 private:
  bool stopped();
  bool accepted(int key);
  int readKey();
  void handleKey(int key);
  void handleUnconsumed(int key);
  void escape();
  void toggleInsert();
  int mouseHandler();

  Logger* logger;
  Settings* settings;
  Terminal* terminal;
  ScreenLayout* layout;
  ModalForms* modal;
  Host* host;
  FocusCycle focus;
  bool finished = false;
  int action = WindowAction::NO_ACTION;
  bool inputEnded = false;
};
