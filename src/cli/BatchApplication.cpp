#include "cli/BatchApplication.h"

#include <cstdio>

#include "app/Logger.h"
#include "app/Resources.h"
#include "controllers/ControllerArguments.h"
#include "preflight/Preflight.h"
#include "preflight/PreflightReport.h"
#include "util/String.h"

namespace {

// The actions that check first, by their WindowAction.
bool checkedAs(int action, Preflight::Action* checked) {
  switch (action) {
    case WindowAction::DEPLOY:
      *checked = Preflight::Deploy;
      return true;
    case WindowAction::UPDATE:
      *checked = Preflight::Update;
      return true;
    case WindowAction::DELETE:
      *checked = Preflight::Delete;
      return true;
    case WindowAction::ROLLBACK:
      *checked = Preflight::Rollback;
      return true;
    default:
      return false;
  }
}

void put(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

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

bool BatchApplication::runController(int action, std::unique_ptr<ControllerArguments> arguments) {
  if (!preflight(action))
    return false;
  return DeployerApplication::runController(action, std::move(arguments));
}

bool BatchApplication::preflight(int action) {
  Preflight::Action checked;
  if (!checkedAs(action, &checked))
    return true;
  if (options.noPreflight) {
    logger->Write("BatchApplication::preflight skipped: --no-preflight.");
    if (!options.dryRun)
      put(String::Highlight(resources->texts["PREFLIGHT_SKIPPED"], BrightYellow) + "\n");
    return true;
  }
  Preflight checks(logger, resources, settings, version, checked, options.choices);
  if (options.dryRun) {
    put(PreflightReport::Comments(checks.Planned()));
    return true;
  }
  std::vector<CheckResult> results = checks.Run();
  for (const CheckResult& result : results)
    logger->Write("BatchApplication::preflight " + result.name +
                  (result.ok ? " passed: " : " failed: ") + Logger::Excerpt(result.detail) + ".");
  bool passed = Preflight::Passed(results);
  std::string lines = PreflightReport::Problems(results);
  if (!passed)
    lines = String::Highlight(resources->texts["PREFLIGHT_FAILED"], Red) + "\n" + lines;
  put(lines);
  return passed;
}
