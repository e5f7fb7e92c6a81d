#include "controllers/UpdateController.h"

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "util/String.h"

namespace {
const char* const NAME = "Update";
}

UpdateController::UpdateController(ControllerArguments* arguments, Version* programVersion)
    : Controller(arguments, programVersion, NAME) {}

UpdateController::~UpdateController() = default;

void UpdateController::Execute() {
  succeeded = false;
  saveSettings();
  std::string patchName = getPatchName();
  print(String::Highlight(resources->texts["UPDATING"], BrightYellow) +
        String::Highlight(patchName, Cyan));
  std::string controlPath = getWebServerPath();
  std::string url = settings->GetString(SettingsPath::PatchUrl);
  std::string complexId = settings->GetString(SettingsPath::InstallComplexId);
  int port = settings->GetInteger(SettingsPath::InstallPort);
  Command command = {
      "bash", controlPath + "/ws_updapp.sh", "-s", url, "-a", patchName, "-t", complexId,
      "-p",   std::to_string(port)};
  beginStep("the application update");
  succeeded = report(run(command, {controlPath}), resources->texts["UPDATING_CODE"],
                     resources->texts["UPDATING_SUCCESS"]);
}
