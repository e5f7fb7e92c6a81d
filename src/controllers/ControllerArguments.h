#pragma once

#include <string>

#include "app/ActionChoices.h"

class Logger;
class Resources;
class Settings;
class Window;

// The services and the administrator's choices handed from the main window to a controller. It
// keeps no link to the window, so it outlives it. The services are shared and not owned.
class ControllerArguments {
 public:
  ControllerArguments(Logger* logger, Resources* resources, Settings* settings, bool installDocker,
                      bool installWebServer, bool ignoreCerts, std::string migratePath,
                      bool migrateDelete);
  ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                      ActionChoices choices);
  // The window's choices that are not settings, copied so that the window can go. Defined with
  // the window, so that the controllers need nothing of the interface.
  ControllerArguments(Logger* logger, Resources* resources, Settings* settings, Window* window);
  // Arguments for deleting another installation after a migration: installs on, certificates
  // checked, no migration path. Throws "Constructor of ControllerArguments expects
  // migrateDelete." when migrateDelete is false.
  ControllerArguments(Logger* logger, Resources* resources, Settings* settings, bool migrateDelete);
  virtual ~ControllerArguments() = default;
  ControllerArguments(const ControllerArguments&) = delete;
  ControllerArguments& operator=(const ControllerArguments&) = delete;

  Logger* GetLogger() { return logger; }
  Resources* GetResources() { return resources; }
  Settings* GetSettings() { return settings; }
  bool InstallDocker() { return choices.installDocker; }
  bool InstallWebServer() { return choices.installWebServer; }
  bool IgnoreCerts() { return choices.ignoreCerts; }
  bool KeepDownloads() { return choices.keepDownloads; }
  int StepTimeout() { return choices.stepTimeout; }
  std::string MigratePath() { return choices.migratePath; }
  bool MigrateDelete() { return choices.migrateDelete; }
  bool RollBack() { return choices.rollBack; }
  std::string RollbackVersion() { return choices.rollbackVersion; }
  // A dry run prints the command lines the action would run and does nothing else. Set before
  // the controller is built. Off by default.
  void SetDryRun(bool on) { dryRun = on; }
  bool DryRun() { return dryRun; }
  // Whether the migration waits for Enter at its end. On by default.
  void SetKeyWait(bool on) { keyWait = on; }
  bool KeyWait() { return keyWait; }

 private:
  Logger* logger;
  Resources* resources;
  Settings* settings;
  ActionChoices choices;
  bool dryRun = false;
  bool keyWait = true;
};
