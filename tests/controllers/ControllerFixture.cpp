#include "controllers/ControllerFixture.h"

#include <fstream>

#include "controllers/Controller.h"
#include "controllers/ControllerArguments.h"

namespace {
const char* const KEYS[] = {"SAVE_CONFIG",
                            "SAVE_CONFIG_SKIPPED",
                            "DEPLOY_PATCH_VERSION_WARNING",
                            "DOWNLOAD_DOCKER",
                            "DOWNLOAD_DOCKER_CODE",
                            "DOWNLOAD_DOCKER_SUCCESS",
                            "UNZIP_DOCKER",
                            "UNZIP_DOCKER_DENIED",
                            "UNZIP_DOCKER_GRANTED",
                            "UNZIP_DOCKER_FAILED",
                            "UNZIP_DOCKER_SUCCESS",
                            "DOCKER_INSTALATION",
                            "DOCKER_INSTALL_FAIL",
                            "DOCKER_INSTALL_SUCCESS",
                            "DOWNLOAD_SERVER",
                            "DOWNLOAD_SERVER_CODE",
                            "DOWNLOAD_SERVER_SUCCESS",
                            "UNZIP_SERVER",
                            "UNZIP_SERVER_DENIED",
                            "UNZIP_SERVER_GRANTED",
                            "UNZIP_SERVER_FAILED",
                            "UNZIP_SERVER_SUCCESS",
                            "SERVER_INSTALATION",
                            "SERVER_INSTALL_FAIL",
                            "SERVER_INSTALL_SUCCESS",
                            "DOWNLOAD_PATCH",
                            "DOWNLOAD_PATCH_CODE",
                            "DOWNLOAD_PATCH_SUCCESS",
                            "PATCH_GRANT",
                            "PATCH_GRANT_FAIL",
                            "PATCH_GRANT_SUCCESS",
                            "DEPLOY_PATCH",
                            "DEPLOY_SUCCESS",
                            "DEPLOY_FAIL",
                            "UPDATING",
                            "UPDATING_SUCCESS",
                            "UPDATING_CODE",
                            "DELETE_PATCH",
                            "DELETE_PATCH_SUCCESS",
                            "DELETE_PATCH_FAIL",
                            "DELETE_WEB_SERVER_TOLM",
                            "DELETE_WEB_SERVER_TOLM_SUCCESS",
                            "DELETE_WEB_SERVER_TOLM_FAIL",
                            "DELETE_FOLDERS",
                            "DELETE_DOCKER",
                            "DELETE_DOCKER_SUCCESS",
                            "DELETE_DOCKER_FAIL",
                            "DELETED",
                            "MIGRATION",
                            "MIGRATE_LOAD_FAIL",
                            "MIGRATE_LOADED",
                            "MIGRATE_VERSION",
                            "MIGRATE_VERSION_WARNING_MAJOR",
                            "MIGRATE_VERSION_WARNIN_MINOR",
                            "MERGE_PATCH_VERSION",
                            "MERGE_PATCH_URL",
                            "MERGE_PATCH_TEMPLATE",
                            "MERGE_INSTALL",
                            "MERGE_CONNECTION",
                            "MERGE_WEB_SERVER_TOLM",
                            "MERGE_DOCKER_CE",
                            "MIGRATE_SAVE",
                            "MIGRATE_DONE",
                            "PRESS_TO_CONTINUE"};

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}
}  // namespace

ControllerFixture::ControllerFixture()
    : workingDirectory(site.Path("work")), programVersion("1.24.2.1") {}

ControllerFixture::~ControllerFixture() = default;

void ControllerFixture::Open() {
  std::ofstream texts(site.Path("work/Resources.res"), std::ios::trunc);
  for (const char* key : KEYS)
    texts << "#" << key << "=[" << key << "]\n";
  texts.close();
  settings.reset();
  resources.reset();
  logger = std::make_unique<Logger>(site.Path("work/log.txt"));
  resources = std::make_unique<Resources>(logger.get(), site.Path("work/Resources.res"));
  resources->Load();
  settings = std::make_unique<Settings>(logger.get(), site.WriteSettings("work/Settings.json"));
  settings->Load();
}

ControllerArguments* ControllerFixture::Arguments(bool installDocker, bool installWebServer,
                                                  bool ignoreCerts, std::string migratePath,
                                                  bool migrateDelete) {
  return new ControllerArguments(logger.get(), resources.get(), settings.get(), installDocker,
                                 installWebServer, ignoreCerts, migratePath, migrateDelete);
}

std::string ControllerFixture::Execute(Controller& controller) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  try {
    controller.Execute();
  } catch (...) {
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    throw;
  }
  testing::internal::GetCapturedStderr();
  return Normalised(Readable(testing::internal::GetCapturedStdout()));
}

std::string ControllerFixture::Log() {
  settings.reset();
  resources.reset();
  logger.reset();
  std::ifstream in(site.Path("work/log.txt"));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ControllerFixture::PrepareDeploy() {
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch 24.2.0.7\n");
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  site.RecordDownloads();
}

std::string ControllerFixture::Normalised(std::string text) const {
  std::string root = site.Path("");
  replaceAll(text, root.substr(0, root.size() - 1), "{site}");
  replaceAll(text, site.Url("").substr(0, site.Url("").size() - 1), "{server}");
  return text;
}

std::string ControllerFixture::Readable(std::string output) {
  const std::pair<const char*, const char*> colours[] = {
      {"\x1b[0;31m", "<red>"},  {"\x1b[0;32m", "<green>"},   {"\x1b[1;33m", "<yellow>"},
      {"\x1b[0;36m", "<cyan>"}, {"\x1b[0;35m", "<magenta>"}, {"\x1b[0m", "</>"}};
  for (const auto& [code, tag] : colours)
    replaceAll(output, code, tag);
  return output;
}

std::string ControllerFixture::LastLine(const std::string& output) {
  size_t end = output.size() < 2 ? 0 : output.rfind('\n', output.size() - 2);
  return end == std::string::npos ? output : output.substr(end + 1);
}
