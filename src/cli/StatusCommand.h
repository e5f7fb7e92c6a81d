#pragma once

#include <optional>
#include <ostream>
#include <string>

// deployer status: what is deployed here and how it is, read from releases.json, the last
// record of the journal, the settings and the folders they name, one health request and the lock
// file. It never waits on the lock. Exit status 0 when a release is deployed, the last action
// succeeded and the health, when checked, is good; 1 otherwise.
class StatusCommand {
 public:
  static const char* const LOCK_FILE;  // ".deployer.lock"

  struct Lock {
    long pid = 0;
    std::string user;
    std::string command;
    std::string since;
  };

  struct Report {
    std::string deployed;  // "": none
    std::string previous;
    bool hasLastAction = false;
    std::string action, result, started, ended;
    int exitStatus = -1;
    bool drift = false;
    bool runtime = false;
    bool webServer = false;
    bool healthChecked = false;
    bool healthOk = false;
    std::string healthDetail;
    std::optional<Lock> lock;

    bool Good() const;
    std::string ToJson() const;
    std::string ToText() const;
  };

  // Gathers the report in the working folder, with the settings file of that name.
  static Report Gather(const std::string& settingsFile);
  static int Run(const std::string& settingsFile, bool json, std::ostream& out);
  // The holder named by the lock file, when the file names a running process.
  static std::optional<Lock> ReadLock(const std::string& file);
};
