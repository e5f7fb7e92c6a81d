#include "cli/BatchApplication.h"

#include "controllers/ControllerArguments.h"

BatchApplication::BatchApplication(Version* version, Logger* logger, Resources* resources,
                                   Settings* settings, Files files,
                                   const CommandLineOptions& options)
    : DeployerApplication(version, logger, resources, settings, std::move(files)),
      options(options) {}

int BatchApplication::runInterface(std::unique_ptr<ControllerArguments>& arguments) {
  arguments = std::make_unique<ControllerArguments>(logger, resources, settings, options.choices);
  arguments->SetDryRun(options.dryRun);
  arguments->SetKeyWait(false);
  return options.Info().action;
}
