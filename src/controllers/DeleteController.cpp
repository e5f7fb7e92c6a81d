#include "controllers/DeleteController.h"

#include <filesystem>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"

namespace {
const char* const NAME = "Delete";
const std::string CONTROL_FOLDER = "/ctl";
// The wait status of a script's exit status 1.
const int EXIT_STATUS_1 = 256;
}  // namespace

DeleteController::DeleteController(ControllerArguments* arguments, Version* programVersion)
    : Controller(arguments, programVersion, NAME) {}

DeleteController::~DeleteController() = default;

void DeleteController::Execute() {
  succeeded = false;
  print(resources->texts["DELETE_PATCH"], BrightYellow);
  std::string controlPath = getWebServerPath();
  bool application = deleteApplication(controlPath);
  bool webServer = !stopped() && deleteWebServer(controlPath);
  bool runtime = !stopped() && deleteRuntime();
  succeeded = application && webServer && runtime;
  print(resources->texts["DELETED"], succeeded ? Green : Red);
}

bool DeleteController::deleteApplication(const std::string& controlPath) {
  int port = settings->GetInteger(SettingsPath::InstallPort);
  Command command = {"bash", controlPath + "/ws_delapp.sh", "-p", std::to_string(port)};
  return report(run(command, {controlPath}), resources->texts["DELETE_PATCH_FAIL"],
                resources->texts["DELETE_PATCH_SUCCESS"]);
}

bool DeleteController::deleteWebServer(const std::string& controlPath) {
  print(resources->texts["DELETE_WEB_SERVER_TOLM"], BrightYellow);
  std::string archiveName = getWebServerUnPackName();
  std::string folder = settings->GetString(SettingsPath::WebServerPath) + archiveName;
  int port = settings->GetInteger(SettingsPath::WebServerPort);
  Command command = {"bash", folder + "/uninstall.sh", "-p", std::to_string(port)};
  if (!report(run(command, {folder}), resources->texts["DELETE_WEB_SERVER_TOLM_FAIL"],
              resources->texts["DELETE_WEB_SERVER_TOLM_SUCCESS"]))
    return false;
  print(resources->texts["DELETE_FOLDERS"], BrightYellow);
  std::string instance = controlPath.substr(0, controlPath.size() - CONTROL_FOLDER.size());
  bool instanceRemoved = removeFolder(instance, archiveName);
  return !stopped() && removeFolder(folder, archiveName) && instanceRemoved;
}

bool DeleteController::deleteRuntime() {
  print(resources->texts["DELETE_DOCKER"]);
  std::string archiveName = getDockerUnPackName();
  std::string folder = settings->GetString(SettingsPath::DockerPath) + archiveName;
  int result = run({"bash", folder + "/uninstall.sh"}, {folder});
  if (result != 0 && result != EXIT_STATUS_1) {
    print(resources->texts["DELETE_DOCKER_FAIL"] + code(result), Red);
    return false;
  }
  print(resources->texts["DELETE_DOCKER_SUCCESS"], Green);
  print(resources->texts["DELETE_FOLDERS"], BrightYellow);
  return removeFolder(folder, archiveName);
}

bool DeleteController::removeFolder(const std::string& folder, const std::string& archiveName) {
  std::string reason;
  if (archiveName.empty())
    reason = "the archive name is empty";
  else if (folder.empty() || std::filesystem::path(folder).lexically_normal() == "/")
    reason = "it is the root or empty";
  if (!reason.empty()) {
    logger->Write("Controller[" + name + "]::removeFolder skipped rm -r of \"" + folder +
                  "\": " + reason + ".");
    return false;
  }
  int result = run({"rm", "-r", folder}, {folder});
  if (result == REFUSED || result == SKIPPED)
    return false;
  return dryRun || removed(folder);
}

// rm may fail on a folder that was never there; what counts is that none is there afterwards.
bool DeleteController::removed(const std::string& folder) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(folder, error)))
    return true;
  print(resources->texts["DELETE_FOLDER_FAIL"] + folder, Red);
  return false;
}
