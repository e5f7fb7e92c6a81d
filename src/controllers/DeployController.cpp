#include "controllers/DeployController.h"

#include <filesystem>
#include <vector>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/Version.h"
#include "app/Versions.h"
#include "controllers/BackgroundDownload.h"
#include "controllers/ControllerArguments.h"
#include "controllers/Shell.h"
#include "util/Path.h"
#include "util/String.h"

namespace {
const char* const NAME = "Deploy";
const char* const DOWNLOADS = "./temp";
}  // namespace

DeployController::DeployController(ControllerArguments* arguments, Version* programVersion)
    : Controller(arguments, programVersion, NAME) {
  patchVersion = std::make_unique<Version>(settings->GetString(SettingsPath::PatchVersion));
}

DeployController::~DeployController() = default;

void DeployController::Execute() {
  executeSteps();
  // The downloads still running ahead after a failure end here, their partial files removed.
  webServerAhead.reset();
  patchAhead.reset();
  patchThroughTemp = false;
}

void DeployController::executeSteps() {
  succeeded = false;
  saveSettings();
  noticeVersion();
  makeTempFolder();
  if (!downloadFolderUsable(DOWNLOADS))
    return;
  if (arguments->InstallDocker() && !downloadAndInstallDocker())
    return;
  if (arguments->InstallWebServer() && !downloadAndInstallWebServer())
    return;
  std::string controlPath = getWebServerPath();
  std::string folder = controlPath + "/tar_files";
  print(String::Highlight(resources->texts["DOWNLOAD_PATCH"], BrightYellow) +
        String::Highlight(folder, Cyan));
  std::string patchName = getPatchName();
  print(patchName, BrightYellow);
  if (downloadPatch(folder, patchName) && grantPatch(folder, patchName))
    registerPatch(controlPath, patchName);
  if (succeeded && !arguments->KeepDownloads())
    tidyTempFolder();
}

// Only a real folder is tidied: entries are removed inside it, never through a link to it.
void DeployController::tidyTempFolder() {
  std::error_code error;
  if (dryRun || !std::filesystem::is_directory(std::filesystem::symlink_status("temp", error)))
    return;
  std::vector<std::filesystem::path> unused;
  for (const auto& entry : std::filesystem::directory_iterator("temp", error))
    if (usedDownloads.count(entry.path().filename().string()) == 0)
      unused.push_back(entry.path());
  for (const std::filesystem::path& path : unused) {
    std::filesystem::remove_all(path, error);
    logger->Write("Controller[" + name + "]::tidyTempFolder removed " + path.string() +
                  (error ? " in part: " + error.message() : "") + ".");
  }
}

// An earlier deploy left the folder (and its downloads) in place.
void DeployController::makeTempFolder() {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status("temp", error)))
    run({"mkdir", "temp"});
}

void DeployController::noticeVersion() {
  Version target = getTargetVersion();
  if (target.Greater(patchVersion.get(), 0))
    print(resources->texts["DEPLOY_PATCH_VERSION_WARNING"] + "1." + std::to_string(target.Part(0)) +
          "." + std::to_string(target.Part(1)) + ".*");
}

// While the runtime's archive is checked and unpacked and the runtime installs, the web server's
// archive and the patch download ahead: the archive into temp/ as always, the patch into temp/
// too, as its folder comes with the web server. A download whose file in temp/ an earlier one of
// this deploy holds (the runtime's archive is not unpacked yet) waits for its step instead.
void DeployController::startDownloadsAhead() {
  std::set<std::string> taken = usedDownloads;
  std::string url = settings->GetString(SettingsPath::WebServerUrl);
  if (arguments->InstallWebServer() && taken.insert(Path::GetFileName(url)).second &&
      needsDownload(url, DOWNLOADS, SettingsPath::WebServerSha256))
    webServerAhead = downloadAhead(url, DOWNLOADS);
  std::string patchName = getPatchName();
  url = patchUrl(patchName);
  if (Path::IsPlainName(patchName) && taken.insert(patchName).second &&
      needsDownload(url, getWebServerPath() + "/tar_files", SettingsPath::PatchSha256)) {
    patchAhead = downloadAhead(url, DOWNLOADS);
    patchThroughTemp = dryRun || patchAhead;
  }
}

std::string DeployController::patchUrl(const std::string& patchName) {
  return settings->GetString(SettingsPath::PatchUrl) + "/" + patchName;
}

bool DeployController::downloadPatch(const std::string& folder, const std::string& patchName) {
  beginStep("the patch download");
  std::string url = patchUrl(patchName);
  std::string file;
  if (!fileIn(folder, patchName, &file))
    return false;
  if (patchThroughTemp) {
    if (!report(downloadPatchThroughTemp(url, file), resources->texts["DOWNLOAD_PATCH_CODE"],
                resources->texts["DOWNLOAD_PATCH_SUCCESS"]) ||
        !verify(file, SettingsPath::PatchSha256))
      return false;
  } else if (!fetch(url, folder, SettingsPath::PatchSha256, resources->texts["DOWNLOAD_PATCH_CODE"],
                    resources->texts["DOWNLOAD_PATCH_SUCCESS"])) {
    return false;
  }
  print(resources->texts["PATCH_GRANT"], BrightYellow);
  return true;
}

// The patch downloaded ahead into temp/ moves into its folder (made as wget would make it).
int DeployController::downloadPatchThroughTemp(const std::string& url, const std::string& file) {
  int result =
      patchAhead ? finishAhead(patchAhead.get(), url, DOWNLOADS) : download(url, DOWNLOADS);
  if (result != 0)
    return result;
  std::string staged = std::string(DOWNLOADS) + "/" + Path::GetFileName(url);
  std::error_code error;
  if (!dryRun)
    std::filesystem::create_directories(Path::GetFolder(file), error);
  return run({"mv", "-f", staged, file}, {staged, file});
}

bool DeployController::grantPatch(const std::string& folder, const std::string& patchName) {
  std::string file;
  beginStep("the patch permission change");
  if (!fileIn(folder, patchName, &file) ||
      !report(run({"chmod", "+x", file}, {file}), resources->texts["PATCH_GRANT_FAIL"],
              resources->texts["PATCH_GRANT_SUCCESS"]))
    return false;
  print(resources->texts["DEPLOY_PATCH"], BrightYellow);
  return true;
}

void DeployController::registerPatch(const std::string& controlPath, const std::string& patchName) {
  Command command = registrationCommand(controlPath, patchName);
  logger->Write("Try " + Shell::Line(command));
  beginStep("the application registration");
  succeeded = report(run(command, {controlPath}), resources->texts["DEPLOY_FAIL"],
                     resources->texts["DEPLOY_SUCCESS"]) &&
              checkHealth();
}

Controller::Command DeployController::registrationCommand(const std::string& controlPath,
                                                          const std::string& patchName) {
  std::string complexId = settings->GetString(SettingsPath::InstallComplexId);
  std::string dll = settings->GetString(SettingsPath::InstallDll);
  int port = settings->GetInteger(SettingsPath::InstallPort);
  std::string catalog = settings->GetString(SettingsPath::InstallCatalog);
  int connectionType = settings->GetInteger(SettingsPath::ConnectionType);
  std::string server = settings->GetString(SettingsPath::ConnectionServer);
  std::string base = settings->GetString(SettingsPath::ConnectionBase);
  std::string target = before24_2() ? complexId + ":" + dll : complexId;
  return {"bash", controlPath + "/ws_addapp.sh",
          "-t",   target,
          "-a",   patchName,
          "-p",   std::to_string(port),
          "-vc",  catalog,
          "-st",  std::to_string(connectionType),
          "-sn",  server,
          "-dn",  base};
}

bool DeployController::downloadAndInstallDocker() {
  std::string folder;
  Component docker = dockerComponent();
  if (!downloadArchive(docker, nullptr, [this] { startDownloadsAhead(); }) ||
      !unpackArchive(docker, &folder))
    return false;
  std::string script = folder + getDockerUnPackName() + "/install.sh";
  return install(docker, {"bash", script}, script);
}

bool DeployController::downloadAndInstallWebServer() {
  std::string folder;
  Component webServer = webServerComponent();
  if (!downloadArchive(webServer, webServerAhead.get()) || !unpackArchive(webServer, &folder))
    return false;
  std::string serverFolder = folder + getWebServerUnPackName();
  return install(webServer, webServerInstallCommand(serverFolder), serverFolder);
}

// The runtime's announcement of its unpacking is coloured, the web server's is not.
DeployController::Component DeployController::dockerComponent() {
  return {"container runtime",
          SettingsPath::DockerUrl,
          SettingsPath::DockerSha256,
          SettingsPath::DockerPath,
          true,
          {resources->texts["DOWNLOAD_DOCKER"], resources->texts["DOWNLOAD_DOCKER_CODE"],
           resources->texts["DOWNLOAD_DOCKER_SUCCESS"]},
          resources->texts["UNZIP_DOCKER"],
          {resources->texts["UNZIP_DOCKER_DENIED"], resources->texts["UNZIP_DOCKER_GRANTED"],
           resources->texts["UNZIP_DOCKER_FAILED"], resources->texts["UNZIP_DOCKER_SUCCESS"]},
          {resources->texts["DOCKER_INSTALATION"], resources->texts["DOCKER_INSTALL_FAIL"],
           resources->texts["DOCKER_INSTALL_SUCCESS"]}};
}

DeployController::Component DeployController::webServerComponent() {
  return {"web server",
          SettingsPath::WebServerUrl,
          SettingsPath::WebServerSha256,
          SettingsPath::WebServerPath,
          false,
          {resources->texts["DOWNLOAD_SERVER"], resources->texts["DOWNLOAD_SERVER_CODE"],
           resources->texts["DOWNLOAD_SERVER_SUCCESS"]},
          resources->texts["UNZIP_SERVER"],
          {resources->texts["UNZIP_SERVER_DENIED"], resources->texts["UNZIP_SERVER_GRANTED"],
           resources->texts["UNZIP_SERVER_FAILED"], resources->texts["UNZIP_SERVER_SUCCESS"]},
          {resources->texts["SERVER_INSTALATION"], resources->texts["SERVER_INSTALL_FAIL"],
           resources->texts["SERVER_INSTALL_SUCCESS"]}};
}

bool DeployController::downloadArchive(const Component& component, BackgroundDownload* ahead,
                                       const std::function<void()>& there) {
  print(component.download.announce, BrightYellow);
  beginStep("the " + component.what + " download");
  std::string url = settings->GetString(component.url);
  std::string archive;
  usedDownloads.insert(Path::GetFileName(url));
  return fileIn(DOWNLOADS, Path::GetFileName(url), &archive) &&
         fetch(url, DOWNLOADS, component.sha256, component.download.failure,
               component.download.success, ahead, there);
}

bool DeployController::unpackArchive(const Component& component, std::string* folder) {
  if (component.unzipInColour)
    print(component.unzip, BrightYellow);
  else
    print(component.unzip);
  beginStep("the " + component.what + " unpacking");
  return unpack(settings->GetString(component.url), component.folder, component.unpack, folder);
}

bool DeployController::install(const Component& component, const Command& command,
                               const std::string& path) {
  print(component.install.announce, BrightYellow);
  beginStep("the " + component.what + " installation");
  return report(run(command, {path}), component.install.failure, component.install.success);
}

bool DeployController::unpack(const std::string& url, const std::string& folderSetting,
                              const UnpackTexts& texts, std::string* folder) {
  std::string archive;
  if (!fileIn(DOWNLOADS, Path::GetFileName(url), &archive) ||
      !report(run({"chmod", "+x", archive}), texts.denied, texts.granted))
    return false;
  *folder = settings->GetString(folderSetting);
  return report(run({"tar", "-C", *folder, "-xvf", archive}, {*folder}), texts.failed,
                texts.success);
}

Controller::Command DeployController::webServerInstallCommand(const std::string& serverFolder) {
  std::string type = settings->GetString(SettingsPath::WebServerType);
  int port = settings->GetInteger(SettingsPath::WebServerPort);
  std::string software = settings->GetString(SettingsPath::WebServerContSoft);
  int debugPort = settings->GetInteger(SettingsPath::WebServerDebugPort);
  Command command = {"bash", serverFolder + "/install.sh", "-ws", type,
                     "-p",   std::to_string(port),         "-cs", software,
                     "-pp",  std::to_string(debugPort)};
  if (!before24_2())
    command.insert(command.end(), {"-l", "ru_RU.utf8"});
  return command;
}

bool DeployController::before24_2() {
  return patchVersion->Less(&Versions::Core_24_2, 0);
}
