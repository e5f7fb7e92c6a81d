#include "preflight/Preflight.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsCheck.h"
#include "app/SettingsPath.h"
#include "controllers/Controller.h"
#include "controllers/ControllerArguments.h"
#include "preflight/AddressProbe.h"
#include "preflight/FolderProbe.h"
#include "preflight/PortProbe.h"

namespace {

const unsigned ALL =
    Preflight::Deploy | Preflight::Update | Preflight::Rollback | Preflight::Delete;
const unsigned CHANGES_APPLICATION = Preflight::Update | Preflight::Rollback;
const struct {
  const char* name;
  Preflight::Action action;
} ACTION_NAMES[] = {{"deploy", Preflight::Deploy},
                    {"update", Preflight::Update},
                    {"rollback", Preflight::Rollback},
                    {"delete", Preflight::Delete}};
const std::string CONTROL_FOLDER = "/ctl";

// The programs an action runs; tar only where an archive is unpacked.
struct Program {
  const char* name;
  unsigned actions;
};
const Program PROGRAMS[] = {{"mkdir", Preflight::Deploy},
                            {"wget", Preflight::Deploy},
                            {"chmod", Preflight::Deploy},
                            {"tar", Preflight::Deploy},
                            {"bash", ALL},
                            {"rm", Preflight::Delete}};

// Where a program is found on PATH, as the commands are started; "" when nowhere.
std::string onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream entries(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string entry; std::getline(entries, entry, ':');) {
    std::string candidate = (entry.empty() ? "." : entry) + "/" + program;
    struct stat status {};
    if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}

std::string size(long long bytes) {
  char text[32];
  if (bytes < 1024LL * 1024)
    std::snprintf(text, sizeof text, "%lld bytes", bytes);
  else
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024 * 1024));
  return text;
}

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

bool Preflight::ActionNamed(const std::string& name, Action* action) {
  for (const auto& entry : ACTION_NAMES)
    if (name == entry.name) {
      *action = entry.action;
      return true;
    }
  return false;
}

std::string Preflight::NameOf(Action action) {
  for (const auto& entry : ACTION_NAMES)
    if (entry.action == action)
      return entry.name;
  return "";
}

Preflight::Preflight(Logger* logger, Resources* resources, Settings* settings,
                     Version* programVersion, Action action, const ActionChoices& choices)
    : resources(resources),
      settings(settings),
      action(action),
      choices(choices),
      names(std::make_unique<Controller>(
          new ControllerArguments(logger, resources, settings, choices), programVersion,
          "Preflight")) {}

Preflight::~Preflight() = default;

// The rows: which checks each action gets.
void Preflight::plan() {
  static const Row ROWS[] = {
      {"programs", ALL, &Preflight::planPrograms},
      {"folders", ALL, &Preflight::planFolders},
      // A rollback applies a release that succeeded here, not the address in the settings,
      // which may be the very one that failed.
      {"addresses", Deploy | Update, &Preflight::planAddresses},
      {"space", Deploy, &Preflight::planSpace},
      {"ports", Deploy, &Preflight::planPorts},
      {"script", CHANGES_APPLICATION | Delete, &Preflight::planScript},
  };
  checks.clear();
  addresses.clear();
  for (const Row& row : ROWS)
    if (row.actions & action)
      (this->*row.plan)();
}

std::vector<std::string> Preflight::Planned() {
  plan();
  std::vector<std::string> lines = {"settings Settings.json"};
  for (const Check& check : checks)
    lines.push_back(check.name + " " + check.where);
  return lines;
}

std::vector<CheckResult> Preflight::Run() {
  CheckResult valid = settingsResult();
  if (!valid.ok)
    return {valid};
  plan();
  std::vector<AddressProbe::Answer> answers = AddressProbe::Probe(addresses, choices.ignoreCerts);
  sizes.clear();
  answered.clear();
  found.clear();
  for (const AddressProbe::Answer& answer : answers) {
    sizes.push_back(answer.ok ? answer.size : -1);
    answered.push_back(answer.ok);
    found.push_back(answer.found);
  }
  std::vector<CheckResult> results = {valid};
  for (const Check& check : checks) {
    CheckResult result;
    result.name = check.name;
    std::string what;
    result.ok = check.test(&what, &result.warning);
    result.detail = check.where + ": " + what + (result.ok ? "" : "; " + check.needed);
    results.push_back(result);
  }
  return results;
}

bool Preflight::Passed(const std::vector<CheckResult>& results) {
  for (const CheckResult& result : results)
    if (!result.ok)
      return false;
  return true;
}

CheckResult Preflight::settingsResult() {
  std::string problems;
  for (const std::string& problem : SettingsCheck::Problems(settings))
    problems += (problems.empty() ? "" : " ") + problem;
  if (problems.empty())
    return {"settings", true, false, "Settings.json: " + resources->texts["PREFLIGHT_VALID"]};
  return {"settings", false, false,
          "Settings.json: " + problems + "; " + resources->texts["PREFLIGHT_NEEDS_SETTINGS"]};
}

void Preflight::planPrograms() {
  bool unpacks = choices.installDocker || choices.installWebServer;
  for (const Program& program : PROGRAMS) {
    if (!(program.actions & action) || (std::string(program.name) == "tar" && !unpacks))
      continue;
    std::string name = program.name;
    checks.push_back({"program:" + name, "PATH", resources->texts["PREFLIGHT_NEEDS_PROGRAM"],
                      [this, name](std::string* found, bool*) {
                        *found = onPath(name);
                        if (!found->empty())
                          return true;
                        *found = resources->texts["PREFLIGHT_NOT_ON_PATH"];
                        return false;
                      }});
  }
}

void Preflight::planFolders() {
  folder("folder:working", ".");
  std::string control = names->getWebServerPath();
  if (action == Deploy) {
    if (choices.installDocker)
      folder("folder:Docker/Path", settings->GetString(SettingsPath::DockerPath));
    if (choices.installWebServer)
      folder("folder:WebServer/Path", settings->GetString(SettingsPath::WebServerPath));
    folder("folder:patch", control + "/tar_files");
    return;
  }
  folder("folder:control", control);
  if (action == Delete) {
    folder("folder:Docker/Path", settings->GetString(SettingsPath::DockerPath));
    folder("folder:WebServer/Path", settings->GetString(SettingsPath::WebServerPath));
  }
}

void Preflight::folder(const std::string& name, const std::string& path) {
  std::error_code error;
  std::string shown = path == "." ? std::filesystem::current_path(error).string() : path;
  checks.push_back(
      {name, shown, resources->texts["PREFLIGHT_NEEDS_FOLDER"],
       [path](std::string* found, bool*) { return FolderProbe::Writable(path, found); }});
}

void Preflight::planAddresses() {
  std::string patch = settings->GetString(SettingsPath::PatchUrl) + "/" + names->getPatchName();
  if (action == Deploy && choices.installDocker)
    address("address:Docker/Url", settings->GetString(SettingsPath::DockerUrl));
  if (action == Deploy && choices.installWebServer)
    address("address:WebServer/Url", settings->GetString(SettingsPath::WebServerUrl));
  address("address:Patch/Url", patch);
}

size_t Preflight::address(const std::string& name, const std::string& url) {
  size_t index = addresses.size();
  addresses.push_back(url);
  checks.push_back({name, url, resources->texts["PREFLIGHT_NEEDS_ANSWER"],
                    [this, index](std::string* found, bool*) {
                      *found = this->found[index];
                      if (answered[index] && sizes[index] >= 0)
                        *found += ", " + size(sizes[index]);
                      return static_cast<bool>(answered[index]);
                    }});
  return index;
}

// The archives go to the working folder's temp and are unpacked into their folders; the address
// indexes follow the order of planAddresses.
void Preflight::planSpace() {
  std::vector<size_t> archives;
  size_t next = 0;
  if (choices.installDocker) {
    space("space:Docker/Path", settings->GetString(SettingsPath::DockerPath), {next}, 3);
    archives.push_back(next++);
  }
  if (choices.installWebServer) {
    space("space:WebServer/Path", settings->GetString(SettingsPath::WebServerPath), {next}, 3);
    archives.push_back(next++);
  }
  if (!archives.empty())
    space("space:working", ".", archives, 2);
}

void Preflight::space(const std::string& name, const std::string& path,
                      const std::vector<size_t>& sources, int times) {
  checks.push_back(
      {name, FolderProbe::NearestExisting(path), resources->texts["PREFLIGHT_NEEDS_SPACE"],
       [this, path, sources, times](std::string* found, bool*) {
         long long needed = 0;
         std::string unknown;
         for (size_t index : sources) {
           if (sizes[index] < 0)
             unknown += " " + addresses[index];
           else
             needed += sizes[index] * times;
         }
         unsigned long long free = 0;
         if (!FolderProbe::FreeBytes(path, &free)) {
           *found = resources->texts["PREFLIGHT_FREE_UNKNOWN"];
           return false;
         }
         *found = resources->texts["PREFLIGHT_FREE"] + size(static_cast<long long>(free)) + ", " +
                  resources->texts["PREFLIGHT_WANTED"] + size(needed) + " (" +
                  std::to_string(times) + " x)";
         if (!unknown.empty())
           *found += ", " + resources->texts["PREFLIGHT_SIZE_UNKNOWN"] + unknown.substr(1);
         return free >= static_cast<unsigned long long>(needed);
       }});
}

void Preflight::planPorts() {
  if (!choices.installWebServer)
    return;
  port(SettingsPath::WebServerPort);
  port(SettingsPath::WebServerDebugPort);
  port(SettingsPath::InstallPort);
}

// A port held where an installation is already in place may be the running application's own,
// so then it is only a warning.
void Preflight::port(const char* path) {
  int number = settings->GetInteger(path);
  if (number == 0)
    return;
  checks.push_back({std::string("port:") + path, std::to_string(number),
                    resources->texts["PREFLIGHT_NEEDS_PORT"],
                    [this, number](std::string* found, bool* warning) {
                      if (!PortProbe::Listening(number)) {
                        *found = resources->texts["PREFLIGHT_PORT_FREE"];
                        return true;
                      }
                      *warning = installedBefore();
                      *found = *warning ? resources->texts["PREFLIGHT_PORT_INSTALLED"]
                                        : resources->texts["PREFLIGHT_PORT_IN_USE"];
                      return *warning;
                    }});
}

bool Preflight::installedBefore() {
  std::string control = names->getWebServerPath();
  return exists(settings->GetString(SettingsPath::DockerPath) + names->getDockerUnPackName()) ||
         exists(settings->GetString(SettingsPath::WebServerPath) +
                names->getWebServerUnPackName()) ||
         exists(control.substr(0, control.size() - CONTROL_FOLDER.size()));
}

void Preflight::planScript() {
  std::string script = action == Delete ? "ws_delapp.sh" : "ws_updapp.sh";
  std::string path = names->getWebServerPath() + "/" + script;
  checks.push_back({"script:" + script, path, resources->texts["PREFLIGHT_NEEDS_SCRIPT"],
                    [this, path](std::string* found, bool*) {
                      struct stat status {};
                      bool present = stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
                                     access(path.c_str(), R_OK) == 0;
                      *found = present ? resources->texts["PREFLIGHT_PRESENT"]
                                       : resources->texts["PREFLIGHT_MISSING"];
                      return present;
                    }});
}
