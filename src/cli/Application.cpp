#include "cli/Application.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/Logger.h"
#include "app/ResourceKeys.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsCheck.h"
#include "app/StopSignals.h"
#include "cli/Console.h"
#include "cli/InitCommand.h"
#include "controllers/ControllerArguments.h"
#include "util/Failure.h"

namespace {

const char* const BANNER = "--------------------Controller executing---------------------";
const char* const UNKNOWN = "Unknown exception.";
const char* const ACTION_NAMES[] = {"", "Deploy", "Update", "Delete", "Migrate", "Rollback"};

}  // namespace

Application::Application(Version* version, Logger* logger, Resources* resources, Settings* settings,
                         Files files)
    : version(version),
      logger(logger),
      resources(resources),
      settings(settings),
      files(std::move(files)) {}

Application::~Application() = default;

int Application::Run() {
  while (cycle()) {
  }
  return status;
}

bool Application::cycle() {
  int action = WindowAction::NO_ACTION;
  std::unique_ptr<ControllerArguments> arguments;
  bool goOn = interfacePhase(&action, arguments);
  logger->Flush();  // nothing held back while commands run
  if (stoppedBy(StopSignals::Received()) || !goOn || action < WindowAction::DEPLOY ||
      action > WindowAction::ROLLBACK)
    return false;
  goOn = controllerPhase(action, std::move(arguments));
  if (stoppedBy(StopSignals::StopRequested()))
    return false;
  return goOn && action == WindowAction::MIGRATE && cyclesAfterMigration() &&
         !StopSignals::HungUp();
}

// A stop signal ends the run with status 128 + its number, as a shell reports a killed program.
bool Application::stoppedBy(int signal) {
  if (signal == 0)
    return false;
  logger->Write("Stopped by signal " + std::to_string(signal) + ".");
  status = 128 + signal;
  return true;
}

bool Application::interfacePhase(int* action, std::unique_ptr<ControllerArguments>& arguments) {
  try {
    loadAndShow(action, arguments);
    return true;
  } catch (...) {
    return interfaceFailed(logFailure());
  }
}

void Application::loadAndShow(int* action, std::unique_ptr<ControllerArguments>& arguments) {
  stage = Stage::LoadingResources;
  resources->Load();
  warnOfMissingTexts();
  stage = Stage::LoadingSettings;
  settings->Load();
  SettingsCheck::Check(settings, logger, files.settings);
  stage = Stage::BeforeWindow;
  *action = runInterface(arguments);
  stage = Stage::AfterWindow;
  logger->Write("AFTER");
  logger->Write(arguments ? arguments->MigratePath() : "");
  logger->Write("End of TUI execution.");
}

// A resource file that lacks texts (an older one after an upgrade, or an empty one) still loads;
// the first load says once on standard error how many are missing and the log names them.
void Application::warnOfMissingTexts() {
  if (textsChecked)
    return;
  textsChecked = true;
  std::vector<std::string> missing = ResourceKeys::Missing(resources->texts);
  if (missing.empty())
    return;
  std::string names;
  for (const std::string& key : missing)
    names += " " + key;
  logger->Write("Application::warnOfMissingTexts " + files.resources + " lacks" + names + ".");
  Console::Err() << "deployer: " << files.resources << " lacks " << missing.size()
                 << " texts; `deployer init --update-texts` adds them\n";
}

// Decides by the stage of the failure whether the cycle goes on to its controller.
bool Application::interfaceFailed(const std::string& message) {
  switch (stage) {
    case Stage::LoadingResources:
    case Stage::LoadingSettings: {
      bool resourcesFailed = stage == Stage::LoadingResources;
      const std::string& file = resourcesFailed ? files.resources : files.settings;
      const std::string& other = resourcesFailed ? files.settings : files.resources;
      std::fprintf(stderr, "Cannot load %s (%s); see %s for details.%s\n", file.c_str(),
                   message.c_str(), files.log.c_str(),
                   InitCommand::MissingFileHint(file, other).c_str());
      status = 1;
      return false;
    }
    case Stage::InWindow:
      logger->Write("Force deactivate screen mode.");
      leaveScreenMode();
      std::puts("Exceptions in log file!");
      status = 1;
      return false;
    case Stage::BeforeWindow:
      return false;
    case Stage::AfterWindow:
      return true;
  }
  return false;
}

bool Application::controllerPhase(int action, std::unique_ptr<ControllerArguments> arguments) {
  std::string name = ACTION_NAMES[action];
  try {
    logger->Write(BANNER);
    failedStep.clear();
    if (runController(action, std::move(arguments)))
      return true;
    failRun(name + " failed" + failedStep);
    return true;
  } catch (...) {
    failRun(name + " failed (" + logFailure() + ")");
  }
  return false;  // an action that broke off has failed
}

std::string Application::logFailure() {
  Failure::Kind failure = Failure::Caught();
  if (!failure.known) {
    logger->Write(UNKNOWN);
    return failure.text;
  }
  logger->Write("Uncaught exception:");
  logger->Write(failure.text);
  return failure.text;
}

int Application::runInterface(std::unique_ptr<ControllerArguments>& arguments) {
  arguments = std::make_unique<ControllerArguments>(logger, resources, settings, ActionChoices());
  return WindowAction::NO_ACTION;
}

bool Application::runController(int /*action*/,
                                std::unique_ptr<ControllerArguments> /*arguments*/) {
  return true;
}

void Application::leaveScreenMode() {}

void Application::windowOpened() {
  stage = Stage::InWindow;
}

void Application::windowClosed() {
  stage = Stage::BeforeWindow;
}

void Application::failRun(const std::string& what) {
  status = 1;
  std::fflush(stdout);
  std::fprintf(stderr, "%s; see %s for details.\n", what.c_str(), files.log.c_str());
}
