#pragma once

#include <memory>

#include "cli/Application.h"

class Controller;
class Window;

// The run sequence with the main window as the interface and the four actions as controllers.
class DeployerApplication : public Application {
 public:
  // The four services are shared and not owned.
  DeployerApplication(Version* version, Logger* logger, Resources* resources, Settings* settings,
                      Files files);
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

  static std::unique_ptr<Controller> createController(int action, ControllerArguments* arguments,
                                                      Version* version);
  // Runs the controller between the start and the end record of the action in the journal.
  bool runRecorded(int action, Controller& controller);
};
