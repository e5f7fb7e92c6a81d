#include "cli/DeployerApplication.h"

#include "app/StopSignals.h"
#include "app/Version.h"
#include "app/WorkingLock.h"
#include "cli/ActionRecorder.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DeleteController.h"
#include "controllers/DeployController.h"
#include "controllers/MigrateController.h"
#include "controllers/RollbackController.h"
#include "controllers/UpdateController.h"
#include "forms/Window.h"

namespace {
// The names of the actions in the journal, by WindowAction.
const char* const ACTIONS[] = {"", "deploy", "update", "delete", "migrate", "rollback"};
}  // namespace

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
  bool dryRun = arguments->DryRun();
  std::unique_ptr<Controller> controller = createController(action, arguments.release(), version);
  if (!controller)
    return true;
  if (dryRun) {
    controller->Execute();
    failedStep = controller->Failure().Description();
    return controller->Succeeded();
  }
  return runRecorded(action, *controller);
}

std::unique_ptr<Controller> DeployerApplication::createController(int action,
                                                                  ControllerArguments* arguments,
                                                                  Version* version) {
  switch (action) {
    case WindowAction::DEPLOY:
      return std::make_unique<DeployController>(arguments, version);
    case WindowAction::UPDATE:
      return std::make_unique<UpdateController>(arguments, version);
    case WindowAction::DELETE:
      return std::make_unique<DeleteController>(arguments, version);
    case WindowAction::MIGRATE:
      return std::make_unique<MigrateController>(arguments, version);
    case WindowAction::ROLLBACK:
      return std::make_unique<RollbackController>(arguments, version);
    default:
      delete arguments;
      return nullptr;
  }
}

bool DeployerApplication::runRecorded(int action, Controller& controller) {
  ActionRecorder recorder(settings, FileNames().settings, ACTIONS[action], version->ToString());
  recorder.Begin();
  try {
    controller.Execute();
  } catch (...) {
    recorder.End(nullptr, 1);
    throw;
  }
  int stop = StopSignals::StopRequested();
  recorder.End(&controller, stop != 0 ? 128 + stop : controller.Succeeded() ? 0 : 1);
  failedStep = controller.Failure().Description();
  return controller.Succeeded();
}

// Screen mode ends first; the window that failed goes only then.
void DeployerApplication::leaveScreenMode() {
  if (!window)
    return;
  window->LeaveScreenMode();
  window.reset();
}
