#pragma once

#include <memory>

#include "cli/Application.h"

class Controller;
class Window;
class WorkingLock;

// The run sequence with the main window as the interface and the four actions as controllers.
class DeployerApplication : public Application {
 public:
  // The four services and the working folder's lock are shared and not owned. The window takes
  // the lock for a save and for an action, which keeps it until the next interface cycle begins
  // or the run ends; without a lock nothing is locked.
  DeployerApplication(Version* version, Logger* logger, Resources* resources, Settings* settings,
                      Files files, WorkingLock* lock = nullptr);
  ~DeployerApplication() override;

 protected:
  // A new window for one interface cycle, owned by the caller.
  virtual Window* createWindow();
  int runInterface(std::unique_ptr<ControllerArguments>& arguments) override;
  bool runController(int action, std::unique_ptr<ControllerArguments> arguments) override;
  void leaveScreenMode() override;

 private:
  // Kept here while it is shown, so that a failure can leave screen mode before it goes.
  std::unique_ptr<Window> window;
  WorkingLock* lock;

  static std::unique_ptr<Controller> createController(int action, ControllerArguments* arguments,
                                                      Version* version);
  // Runs the controller between the start and the end record of the action in the journal.
  bool runRecorded(int action, Controller& controller);
};
