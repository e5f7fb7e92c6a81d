#include "cli/BatchApplication.h"

#include "app/WindowAction.h"
#include "controllers/ControllerArguments.h"

BatchApplication::BatchApplication(Version* version, Logger* logger, Resources* resources,
                                   Settings* settings, Files files,
                                   const CommandLineOptions& options)
    : DeployerApplication(version, logger, resources, settings, std::move(files)),
      options(options) {}

int BatchApplication::runInterface(std::unique_ptr<ControllerArguments>& arguments) {
  arguments = std::make_unique<ControllerArguments>(logger, resources, settings, !options.noRuntime,
                                                    !options.noWebServer, options.ignoreCerts,
                                                    options.migrateFile, options.deleteSource);
  arguments->SetDryRun(options.dryRun);
  arguments->SetKeyWait(false);
  return action();
}

int BatchApplication::action() const {
  if (options.command == "deploy")
    return WindowAction::DEPLOY;
  if (options.command == "update")
    return WindowAction::UPDATE;
  if (options.command == "delete")
    return WindowAction::DELETE;
  if (options.command == "migrate")
    return WindowAction::MIGRATE;
  return WindowAction::NO_ACTION;
}
