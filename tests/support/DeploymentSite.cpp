#include "support/DeploymentSite.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

const char* const DeploymentSite::RUNTIME_ARCHIVE = "runtime-1.0.tar.gz";
const char* const DeploymentSite::WEB_SERVER_ARCHIVE = "vaq-web_d2.tar.gz";
const char* const DeploymentSite::PATCH_FOLDER = "patches";

namespace {
std::string jsonText(const std::string& value) {
  std::string result = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\')
      result += '\\';
    result += c;
  }
  return result + "\"";
}

std::string findProgram(const std::string& program) {
  std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  std::string entry;
  while (std::getline(path, entry, ':')) {
    std::string candidate = entry + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  throw std::runtime_error(program + " is not on PATH");
}

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("failed: " + command);
}
}  // namespace

DeploymentSite::DeploymentSite() {
  for (const char* name : {"served/patches", "app", "docker", "web", "bin", "stage"})
    std::filesystem::create_directories(Path(name));
  folder.Write("records.txt", "");
  server = std::make_unique<LoopbackServer>(Path("served"));
  setDefaults();
}

DeploymentSite::~DeploymentSite() {
  if (!savedPath.empty())
    setenv("PATH", savedPath.c_str(), 1);
}

void DeploymentSite::setDefaults() {
  Set("Docker/Url", Url(RUNTIME_ARCHIVE));
  Set("Docker/Path", Path("docker") + "/");
  Set("WebServer/Url", Url(WEB_SERVER_ARCHIVE));
  Set("WebServer/Path", Path("web") + "/");
  Set("WebServer/Type", "nginx");
  SetInteger("WebServer/Port", 8080);
  Set("WebServer/ContSoft", "docker");
  SetInteger("WebServer/DebugPort", 8000);
  Set("Patch/Url", Url(PATCH_FOLDER));
  Set("Patch/Template", "app-*.sh");
  Set("Patch/Version", "24.2.0.7");
  Set("Install/ComplexId", "CX1");
  Set("Install/DLL", "core.dll");
  SetInteger("Install/Port", 9090);
  Set("Install/Catalog", "main");
  SetInteger("Connection/Type", 1);
  Set("Connection/Server", "db.local");
  Set("Connection/Base", "appdb");
}

void DeploymentSite::ServeArchive(const std::string& fileName, const std::string& unpackName,
                                  int installStatus, int uninstallStatus, const std::string& note) {
  std::string suffix = note.empty() ? "" : " " + note;
  std::string stage = Path("stage/" + fileName);
  std::filesystem::remove_all(stage);
  std::filesystem::create_directories(stage + "/" + unpackName);
  WriteScript(stage + "/" + unpackName + "/install.sh", unpackName + "/install.sh" + suffix,
              installStatus);
  WriteScript(stage + "/" + unpackName + "/uninstall.sh", unpackName + "/uninstall.sh" + suffix,
              uninstallStatus);
  pack(fileName, unpackName);
}

void DeploymentSite::pack(const std::string& fileName, const std::string& unpackName) const {
  run("tar --sort=name -C '" + Path("stage/" + fileName) + "' -czf '" + Path("served/" + fileName) +
      "' '" + unpackName + "'");
}

void DeploymentSite::ServeRuntime(const std::string& install) {
  ServeArchive(RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  folder.Write("stage/" + std::string(RUNTIME_ARCHIVE) + "/runtime-1.0/install.sh", install);
  pack(RUNTIME_ARCHIVE, "runtime-1.0");
}

void DeploymentSite::ServeFile(const std::string& name, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(Path("served/" + name)).parent_path());
  folder.Write("served/" + name, content);
}

void DeploymentSite::WriteScript(const std::string& path, const std::string& label, int status,
                                 const std::string& before) const {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream script(path, std::ios::trunc);
  script << "#!/bin/bash\nline='" << label << "'\n"
         << "for argument in \"$@\"; do line+=\" [$argument]\"; done\n"
         << "printf '%s\\n' \"$line\" >> '" << Path("records.txt") << "'\n"
         << before << "exit " << status << "\n";
  script.close();
  chmod(path.c_str(), 0755);
}

void DeploymentSite::ServeEverything() {
  ServeArchive(RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  ServeArchive(WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  ServeFile("patches/app-24.2.0.7.sh", "echo patch\n");
  MakeControlDirectory(Path("web/web_8080/ctl"), 0, 0, 0);
}

void DeploymentSite::MakeControlDirectory(const std::string& controlPath, int addStatus,
                                          int updateStatus, int deleteStatus) const {
  std::filesystem::create_directories(controlPath + "/tar_files");
  std::string record =
      "while [ $# -gt 0 ]; do [ \"$1\" = -a ] && patch=$2; shift; done\n"
      "[ -n \"$patch\" ] && printf '%s' \"$patch\" > '" +
      Path("deployed.txt") + "'\n";
  WriteScript(controlPath + "/ws_addapp.sh", "ws_addapp.sh", addStatus, addStatus ? "" : record);
  WriteScript(controlPath + "/ws_updapp.sh", "ws_updapp.sh", updateStatus,
              updateStatus ? "" : record);
  WriteScript(controlPath + "/ws_delapp.sh", "ws_delapp.sh", deleteStatus);
}

void DeploymentSite::RecordDownloads() {
  std::string wget = findProgram("wget");
  std::ofstream script(Path("bin/wget"), std::ios::trunc);
  script << "#!/bin/bash\nline='wget'\n"
         << "for argument in \"$@\"; do line+=\" [$argument]\"; done\n"
         << "printf '%s\\n' \"$line\" >> '" << Path("records.txt") << "'\n"
         << "exec '" << wget << "' \"$@\"\n";
  script.close();
  chmod(Path("bin/wget").c_str(), 0755);
  if (savedPath.empty())
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (Path("bin") + ":" + savedPath).c_str(), 1);
}

std::string DeploymentSite::Records() const {
  return folder.Read("records.txt");
}

void DeploymentSite::ClearRecords() const {
  folder.Write("records.txt", "");
}

std::string DeploymentSite::HealthUrl() {
  static const char* const SCRIPT = DEPLOYER_SOURCE_DIR "/tests/support/health_server.py";
  if (!healthServer)
    healthServer = std::make_unique<LoopbackServer>(folder.File(""), SCRIPT);
  return healthServer->Url("health");
}

void DeploymentSite::MarkBad(const std::string& patchName) const {
  std::ofstream(Path("bad.txt"), std::ios::app) << patchName << "\n";
}

std::string DeploymentSite::Deployed() const {
  std::ifstream in(Path("deployed.txt"));
  std::string patch;
  in >> patch;
  return patch;
}

void DeploymentSite::Set(const std::string& path, const std::string& value) {
  values[path] = jsonText(value);
}

void DeploymentSite::SetInteger(const std::string& path, int value) {
  values[path] = std::to_string(value);
}

void DeploymentSite::SetLiteral(const std::string& path, const std::string& json) {
  values[path] = json;
}

std::string DeploymentSite::WriteSettings(const std::string& file) const {
  std::string text = "{";
  std::string section;
  for (const auto& [path, value] : values) {
    std::string pathSection = path.substr(0, path.find('/'));
    if (pathSection != section) {
      text += (section.empty() ? "\n\t" : "\n\t},\n\t") + jsonText(pathSection) + ": {";
      section = pathSection;
    } else {
      text += ",";
    }
    text += "\n\t\t" + jsonText(path.substr(path.find('/') + 1)) + ": " + value;
  }
  text += "\n\t}\n}";
  std::string path = Path(file);
  std::ofstream(path, std::ios::trunc) << text;
  return path;
}
