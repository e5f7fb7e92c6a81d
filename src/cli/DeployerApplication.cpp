#include "cli/DeployerApplication.h"

#include "app/WorkingLock.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DeleteController.h"
#include "controllers/DeployController.h"
#include "controllers/MigrateController.h"
#include "controllers/UpdateController.h"
#include "forms/Window.h"

DeployerApplication::DeployerApplication(Version* version, Logger* logger, Resources* resources,
                                         Settings* settings, Files files, WorkingLock* lock)
    : Application(version, logger, resources, settings, std::move(files)), lock(lock) {}

DeployerApplication::~DeployerApplication() = default;

Window* DeployerApplication::createWindow() {
  return new Window(logger, resources, settings);
}

// The action of the cycle before (a migration) has ended: the interface holds no lock while idle.
int DeployerApplication::runInterface(std::unique_ptr<ControllerArguments>& arguments) {
  if (lock != nullptr)
    lock->Release();
  window.reset(createWindow());
  window->UseLock(lock);
  windowOpened();
  int action = window->Show(version);
  arguments = std::make_unique<ControllerArguments>(logger, resources, settings, window.get());
  bool inputEnded = window->InputEnded();
  window.reset();
  windowClosed();
  if (inputEnded)
    failRun("The input has ended");
  return action;
}

bool DeployerApplication::runController(int action,
                                        std::unique_ptr<ControllerArguments> arguments) {
  std::unique_ptr<Controller> controller;
  switch (action) {
    case WindowAction::DEPLOY:
      controller = std::make_unique<DeployController>(arguments.release(), version);
      break;
    case WindowAction::UPDATE:
      controller = std::make_unique<UpdateController>(arguments.release(), version);
      break;
    case WindowAction::DELETE:
      controller = std::make_unique<DeleteController>(arguments.release(), version);
      break;
    case WindowAction::MIGRATE:
      controller = std::make_unique<MigrateController>(arguments.release(), version);
      break;
    default:
      return true;
  }
  controller->Execute();
  failedStep = controller->Failure().Description();
  return controller->Succeeded();
}

// Screen mode ends first; the window that failed goes only then.
void DeployerApplication::leaveScreenMode() {
  if (!window)
    return;
  window->LeaveScreenMode();
  window.reset();
}
