#include "controllers/UpdateController.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "controllers/ControllerArguments.h"
#include "util/String.h"

namespace {
const char* const NAME = "Update";
}

UpdateController::UpdateController(ControllerArguments* arguments, Version* programVersion)
    : Controller(arguments, programVersion, NAME) {}

UpdateController::UpdateController(ControllerArguments* arguments, Version* programVersion,
                                   std::string name)
    : Controller(arguments, programVersion, std::move(name)) {}

UpdateController::~UpdateController() = default;

void UpdateController::Execute() {
  succeeded = false;
  rolledBack = false;
  saveSettings();
  succeeded = apply(settings->GetString(SettingsPath::PatchUrl), getPatchName());
  if (!succeeded && !dryRun && arguments->RollBack() && !stopped())
    rollBack();
}

bool UpdateController::apply(const std::string& url, const std::string& patchName) {
  print(String::Highlight(resources->texts["UPDATING"], BrightYellow) +
        String::Highlight(patchName, Cyan));
  std::string controlPath = getWebServerPath();
  std::string complexId = settings->GetString(SettingsPath::InstallComplexId);
  int port = settings->GetInteger(SettingsPath::InstallPort);
  Command command = {
      "bash", controlPath + "/ws_updapp.sh", "-s", url, "-a", patchName, "-t", complexId,
      "-p",   std::to_string(port)};
  beginStep("the application update");
  return report(run(command, {controlPath}), resources->texts["UPDATING_CODE"],
                resources->texts["UPDATING_SUCCESS"]) &&
         checkHealth();
}

// The release deployed before this update, or the one before that when the update was to the
// deployed version itself.
void UpdateController::rollBack() {
  ReleaseState state;
  state.Load(ReleaseState::FILE_NAME);
  std::string version = settings->GetString(SettingsPath::PatchVersion);
  const auto& good = state.Deployed() && state.Deployed()->version != version ? state.Deployed()
                                                                              : state.Previous();
  if (!good) {
    print(resources->texts["ROLLBACK_NO_PREVIOUS"], Red);
    return;
  }
  FailedStep updateFailure = failure;
  print(resources->texts["ROLLBACK_STARTING"] + good->version, BrightYellow);
  rolledBack = returnTo(*good);
  failure = updateFailure;  // the step of the update that failed
}

bool UpdateController::returnTo(const ReleaseState::Release& release) {
  settings->SetString(SettingsPath::PatchUrl, release.url);
  settings->SetString(SettingsPath::PatchTemplate, release.patchTemplate);
  settings->SetString(SettingsPath::PatchVersion, release.version);
  settings->SetOptionalString(SettingsPath::PatchSha256, release.sha256);
  if (!apply(release.url, getPatchName()))
    return false;
  print(resources->texts["ROLLBACK_DONE"] + release.version, Green);
  if (!dryRun && settings->IsModified())
    settings->Save();
  return true;
}
