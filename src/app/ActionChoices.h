#pragma once

#include <string>

// What the administrator chose for an action besides the settings: filled by the main window or
// by the command line, carried to the controller by its arguments.
struct ActionChoices {
  bool installDocker = true;     // install the container runtime before deploying
  bool installWebServer = true;  // install the web server before deploying
  bool ignoreCerts = false;      // download without certificate checks
  std::string migratePath;       // settings file of the installation to migrate from
  bool migrateDelete = false;    // after the migration, delete that installation
  bool keepDownloads = false;    // after a deploy, leave every file in temp/
  int stepTimeout = 0;           // seconds one command may run; 0: no limit
  bool rollBack = true;          // return a failed update to the previous good release
  std::string rollbackVersion;   // the release a rollback applies ("": the previous good one)
};
