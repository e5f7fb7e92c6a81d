#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ActionChoices.h"
#include "preflight/CheckResult.h"

class Controller;
class Logger;
class Resources;
class Settings;
class Version;

// Everything an action needs, checked before it changes anything: valid settings, the programs
// it runs, the folders it writes and their free space, its download addresses, the web server's
// ports and control script. Every check runs, also after a failure; nothing is changed, run
// through a shell or downloaded (the addresses are asked for their headers only, side by side).
// Which checks an action gets is one table of rows (name, actions, planning function).
class Preflight {
 public:
  // The actions that can be checked; a row names the set it applies to.
  enum Action : unsigned { Deploy = 1, Update = 2, Rollback = 4, Delete = 8 };

  // "deploy", "update", "rollback" or "delete"; false for another name.
  static bool ActionNamed(const std::string& name, Action* action);
  static std::string NameOf(Action action);

  // The services are shared and not owned; the settings must be loaded. The choices are those
  // of the action (installs, certificates).
  Preflight(Logger* logger, Resources* resources, Settings* settings, Version* programVersion,
            Action action, const ActionChoices& choices);
  ~Preflight();
  Preflight(const Preflight&) = delete;
  Preflight& operator=(const Preflight&) = delete;

  // "NAME WHERE" of each check it would make, in order, without making any.
  std::vector<std::string> Planned();
  // Makes every check. When the settings break their rules only that check is reported, since
  // every other reads them.
  std::vector<CheckResult> Run();
  static bool Passed(const std::vector<CheckResult>& results);

 private:
  // One planned check: what is found goes to found; warning marks a pass worth a look.
  struct Check {
    std::string name;
    std::string where;
    std::string needed;
    std::function<bool(std::string* found, bool* warning)> test;
  };
  struct Row {
    const char* name;
    unsigned actions;
    void (Preflight::*plan)();
  };

  void plan();
  void planPrograms();
  void planFolders();
  void planAddresses();
  void planSpace();
  void planPorts();
  void planScript();

  void folder(const std::string& name, const std::string& path);
  // Registers the address for the side-by-side probe; returns its index in answers.
  size_t address(const std::string& name, const std::string& url);
  void space(const std::string& name, const std::string& path, const std::vector<size_t>& sources,
             int times);
  void port(const char* path);
  bool installedBefore();
  CheckResult settingsResult();

  Resources* resources;
  Settings* settings;
  Action action;
  ActionChoices choices;
  std::unique_ptr<Controller> names;  // derives the folders and file names as the actions do
  std::vector<Check> checks;
  std::vector<std::string> addresses;
  std::vector<long long> sizes;  // of the answers, by address index
  std::vector<bool> answered;
  std::vector<std::string> found;
};
