#include "cli/ActionRecorder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "app/Journal.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "controllers/Controller.h"
#include "util/Sha256.h"

ActionRecorder::ActionRecorder(Settings* settings, std::string settingsFile, std::string action,
                               std::string programVersion)
    : settings(settings), settingsFile(std::move(settingsFile)) {
  record.action = std::move(action);
  record.programVersion = std::move(programVersion);
}

void ActionRecorder::Begin() {
  releases.Load(ReleaseState::FILE_NAME);
  record.started = JournalRecord::Now();
  record.id = record.started + "-" + std::to_string(getpid());
  record.user = User();
  record.host = Host();
  record.versionBefore = releases.Deployed() ? releases.Deployed()->version : "";
  record.settingsSha256 = Digest(settingsFile);
  Journal().Append(record);
}

void ActionRecorder::End(const Controller* controller, int exitStatus) {
  record.end = true;
  record.ended = JournalRecord::Now();
  record.exitStatus = exitStatus;
  record.settingsSha256 = Digest(settingsFile);
  bool succeeded = controller != nullptr && controller->Succeeded() && exitStatus == 0;
  if (succeeded)
    record.result = JournalRecord::SUCCEEDED;
  else if (controller != nullptr && controller->RolledBack())
    record.result = JournalRecord::ROLLED_BACK;
  else
    record.result = JournalRecord::FAILED;
  if (!succeeded && controller != nullptr) {
    record.failedCommand = controller->FailedCommand();
    record.failedStatus = controller->FailedStatus();
  }
  updateReleases(record.result, record.settingsSha256);
  record.versionAfter = releases.Deployed() ? releases.Deployed()->version : "";
  Journal().Append(record);
}

void ActionRecorder::updateReleases(const std::string& result, const std::string& digest) {
  if (result != JournalRecord::SUCCEEDED)
    return;
  if (record.action == "delete")
    releases.Clear();
  else if (record.action == "migrate")
    releases.Confirmed(digest);
  else
    releases.Succeeded(currentRelease(), digest);
  releases.Save(ReleaseState::FILE_NAME);
}

ReleaseState::Release ActionRecorder::currentRelease() const {
  return {settings->GetString(SettingsPath::PatchVersion),
          settings->GetString(SettingsPath::PatchUrl),
          settings->GetString(SettingsPath::PatchTemplate),
          settings->GetOptionalString(SettingsPath::PatchSha256)};
}

std::string ActionRecorder::Digest(const std::string& file) {
  std::string digest;
  std::string reason;
  return Sha256::OfFile(file, &digest, &reason) ? digest : "";
}

std::string ActionRecorder::User() {
  const char* sudoUser = std::getenv("SUDO_USER");
  if (sudoUser != nullptr && sudoUser[0] != '\0')
    return sudoUser;
  if (const passwd* entry = getpwuid(geteuid()))
    return entry->pw_name;
  const char* login = getlogin();
  return login != nullptr ? login : "";
}

std::string ActionRecorder::Host() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  return name;
}
