#pragma once

#include <memory>

#include "cli/CommandLine.h"
#include "cli/DeployerApplication.h"

// The run sequence for an action given on the command line: the files are loaded as for the
// interface, then the action's controller runs with the options in place of the window's
// choices. No screen mode, no terminal needed, and no interface after a migration.
class BatchApplication : public DeployerApplication {
 public:
  // The four services are shared and not owned; options must outlive the application.
  BatchApplication(Version* version, Logger* logger, Resources* resources, Settings* settings,
                   Files files, const CommandLineOptions& options);

 protected:
  int runInterface(std::unique_ptr<ControllerArguments>& arguments) override;
  // Deploy, update and delete check first what they need (unless --no-preflight): a failed
  // check ends the action before its first step, with nothing run; a dry run shows the checks.
  bool runController(int action, std::unique_ptr<ControllerArguments> arguments) override;
  bool cyclesAfterMigration() override { return false; }

 private:
  // False when a check failed; the failures are printed in red and logged.
  bool preflight(int action);

  const CommandLineOptions& options;
};
