#include "cli/StatusCommand.h"

#include <csignal>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/Journal.h"
#include "app/Logger.h"
#include "app/ReleaseState.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "app/Version.h"
#include "app/WorkingLock.h"
#include "cli/ActionRecorder.h"
#include "cli/Program.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DeleteController.h"
#include "controllers/HealthCheck.h"
#include "controllers/SpawnRunner.h"
#include "util/Json.h"
#include "util/JsonEscape.h"

const char* const StatusCommand::LOCK_FILE = ".deployer.lock";

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
  if (text.empty())
    return "null";
  std::string out;
  JsonEscape::AppendQuoted(&out, text);
  return out;
}

const char* boolean(bool value) {
  return value ? "true" : "false";
}

bool isFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool isFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The folders the settings name, found with the controllers' own derivations of them.
void findComponents(Settings* settings, Logger* logger, StatusCommand::Report* report) {
  Version version(Program::VERSION);
  DeleteController names(new ControllerArguments(logger, nullptr, settings, ActionChoices()),
                         &version);
  report->runtime =
      isFolder(settings->GetString(SettingsPath::DockerPath) + names.getDockerUnPackName());
  std::string control = names.getWebServerPath();
  report->webServer = isFolder(control);
  for (const char* script : {"/ws_addapp.sh", "/ws_updapp.sh", "/ws_delapp.sh"})
    report->webServer = report->webServer && isFile(control + script);
}

void checkHealth(Settings* settings, StatusCommand::Report* report) {
  std::string url = settings->GetOptionalString(SettingsPath::InstallHealthUrl);
  if (url.empty())
    return;
  int timeout = settings->GetOptionalInteger(SettingsPath::InstallHealthTimeout,
                                             SettingsSchema::DefaultHealthTimeout);
  SpawnRunner runner;
  HealthCheck::Outcome outcome =
      HealthCheck(url, timeout, false)
          .Wait(
              [&runner](const std::vector<std::string>& words) { return runner.Run(words).status; },
              [] { return false; }, HealthCheck::Mode::Once);
  report->healthChecked = true;
  report->healthOk = outcome.ok;
  report->healthDetail = outcome.detail;
}

}  // namespace

bool StatusCommand::Report::Good() const {
  return !deployed.empty() && hasLastAction && result == "succeeded" &&
         (!healthChecked || healthOk);
}

std::string StatusCommand::Report::ToJson() const {
  std::ostringstream out;
  out << "{\"deployed_version\": " << quoted(deployed)
      << ", \"previous_version\": " << quoted(previous) << ", \"last_action\": ";
  if (hasLastAction) {
    out << "{\"action\": " << quoted(action) << ", \"result\": " << quoted(result)
        << ", \"exit_status\": " << (exitStatus >= 0 ? std::to_string(exitStatus) : "null")
        << ", \"started\": " << quoted(started) << ", \"ended\": " << quoted(ended) << "}";
  } else {
    out << "null";
  }
  out << R"(, "drift": )" << boolean(drift) << R"(, "components": {"runtime": )" << boolean(runtime)
      << R"(, "web_server": )" << boolean(webServer) << "}"
      << R"(, "health": {"checked": )" << boolean(healthChecked) << R"(, "ok": )"
      << (healthChecked ? boolean(healthOk) : "null") << R"(, "detail": )" << quoted(healthDetail)
      << R"(}, "lock": )";
  if (lock)
    out << "{\"pid\": " << lock->pid << ", \"user\": " << quoted(lock->user)
        << ", \"command\": " << quoted(lock->command) << ", \"since\": " << quoted(lock->since)
        << "}";
  else
    out << "null";
  out << "}\n";
  return out.str();
}

std::string StatusCommand::Report::ToText() const {
  auto orNone = [](const std::string& text) { return text.empty() ? std::string("none") : text; };
  auto present = [](bool there) { return there ? "present" : "missing"; };
  std::ostringstream out;
  out << "deployed:     " << orNone(deployed) << "\nprevious:     " << orNone(previous)
      << "\nlast action:  ";
  if (hasLastAction) {
    out << action << " " << result;
    if (exitStatus >= 0)
      out << " (exit status " << exitStatus << ")";
    out << ", started " << started;
    if (!ended.empty())
      out << ", ended " << ended;
  } else {
    out << "none";
  }
  out << "\nsettings:     " << (drift ? "changed since the last succeeded action" : "unchanged")
      << "\nruntime:      " << present(runtime) << "\nweb server:   " << present(webServer)
      << "\nhealth:       "
      << (!healthChecked ? "not checked"
          : healthOk     ? "good"
                         : "failed (" + healthDetail + ")")
      << "\nlock:         ";
  if (lock)
    out << "held by " << lock->user << " (pid " << lock->pid << ", " << lock->command << ") since "
        << lock->since;
  else
    out << "free";
  out << "\n";
  return out.str();
}

StatusCommand::Report StatusCommand::Gather(const std::string& settingsFile) {
  Report report;
  ReleaseState releases;
  releases.Load(ReleaseState::FILE_NAME);
  if (releases.Deployed())
    report.deployed = releases.Deployed()->version;
  if (releases.Previous())
    report.previous = releases.Previous()->version;
  std::vector<JournalRecord> last = Journal().Last(1);
  if (!last.empty()) {
    const JournalRecord& record = last.back();
    report.hasLastAction = true;
    report.action = record.action;
    report.result = record.result;
    report.exitStatus = record.exitStatus;
    report.started = record.started;
    report.ended = record.ended;
  }
  report.drift = !releases.SettingsSha256().empty() &&
                 ActionRecorder::Digest(settingsFile) != releases.SettingsSha256();
  report.lock = ReadLock(LOCK_FILE);
  Logger logger("");
  Settings settings(&logger, settingsFile);
  try {
    settings.Load();
    findComponents(&settings, &logger, &report);
    checkHealth(&settings, &report);
  } catch (...) {
    // Without readable settings no component is known and no health is asked.
  }
  return report;
}

int StatusCommand::Run(const std::string& settingsFile, bool json, std::ostream& out) {
  Report report = Gather(settingsFile);
  out << (json ? report.ToJson() : report.ToText());
  return report.Good() ? 0 : 1;
}

// The holder the lock file records; none when it records nothing or its process has ended.
std::optional<StatusCommand::Lock> StatusCommand::ReadLock(const std::string& file) {
  WorkingLock::Holder holder = WorkingLock(file).ReadHolder();
  long pid = std::atol(holder.pid.c_str());
  if (pid <= 0)
    return std::nullopt;
  return Lock{pid, holder.user, holder.command, holder.since};
}
