#pragma once

#include <string>

#include "app/JournalRecord.h"
#include "app/ReleaseState.h"

class Controller;
class Settings;

// Writes the journal records of one action, its start before the controller runs and its end
// after, and keeps the release state (releases.json) up to date with what the action left
// deployed. Both files lie in the working folder.
class ActionRecorder {
 public:
  // settingsFile is the settings file the action runs with, settings its loaded contents.
  ActionRecorder(Settings* settings, std::string settingsFile, std::string action,
                 std::string programVersion);

  void Begin();
  // The controller ran (to its end or not: null after it threw) and the program will exit
  // with exitStatus.
  void End(const Controller* controller, int exitStatus);

  // The SHA-256 of a file, "" when it cannot be read.
  static std::string Digest(const std::string& file);
  // SUDO_USER, or the login name of the user running the program.
  static std::string User();
  static std::string Host();

 private:
  ReleaseState::Release currentRelease() const;
  void updateReleases(const std::string& result, const std::string& digest);

  Settings* settings;
  std::string settingsFile;
  JournalRecord record;
  ReleaseState releases;
};
