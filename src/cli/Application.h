#pragma once

#include <memory>
#include <string>

#include "app/WindowAction.h"

class ControllerArguments;
class Logger;
class Resources;
class Settings;
class Version;

// The run sequence of the program: cycles of the text interface followed by the controller of
// the chosen action, repeated only after a migration, with the failure handling of each phase.
// A stop signal recorded by StopSignals ends the run: during the interface any of them, during an
// action all but a hang-up, which lets the action finish.
// The interface and the controller are reached through virtual hooks.
class Application {
 public:
  // File names of the working directory, used in the message of a failed start.
  struct Files {
    std::string resources;
    std::string settings;
    std::string log;
  };

  // The four services are shared and not owned.
  Application(Version* version, Logger* logger, Resources* resources, Settings* settings,
              Files files);
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs every cycle and returns the exit status of the program.
  int Run();

 protected:
  // Shows the interface once the files are loaded and returns the chosen action; the controller
  // arguments taken from the window go to arguments. A window calls windowOpened() once it is
  // built and windowClosed() once it is gone. Without a window: no action, nothing chosen.
  virtual int runInterface(std::unique_ptr<ControllerArguments>& arguments);
  // Builds and runs the controller of an action from 1 to 4, which takes the arguments over.
  // Returns whether the action succeeded; after a failure it may leave where the action failed in
  // failedStep (" at the patch download: wget exit status 4, a network failure").
  virtual bool runController(int action, std::unique_ptr<ControllerArguments> arguments);
  // Leaves screen mode directly after a failure while the window existed.
  virtual void leaveScreenMode();
  // Whether a successful migration is followed by another interface cycle.
  virtual bool cyclesAfterMigration() { return true; }

  const Files& FileNames() const { return files; }

  void windowOpened();
  void windowClosed();
  // Makes the program end with status 1 (for example when input has ended) and says so on standard
  // error in one line, after everything written to standard output so far: what failed, and
  // where the details are.
  void failRun(const std::string& what);

  std::string failedStep;
  Version* version;
  Logger* logger;
  Resources* resources;
  Settings* settings;

 private:
  // Where the cycle is; a failure is handled by the stage it happened in.
  enum class Stage { LoadingResources, LoadingSettings, BeforeWindow, InWindow, AfterWindow };

  bool cycle();
  bool stoppedBy(int signal);
  bool interfacePhase(int* action, std::unique_ptr<ControllerArguments>& arguments);
  void loadAndShow(int* action, std::unique_ptr<ControllerArguments>& arguments);
  bool interfaceFailed(const std::string& message);
  void warnOfMissingTexts();
  bool controllerPhase(int action, std::unique_ptr<ControllerArguments> arguments);
  // Inside a catch block: logs the failure and returns its text.
  std::string logFailure();

  Files files;
  Stage stage = Stage::LoadingResources;
  int status = 0;
  bool textsChecked = false;
};
