#pragma once

#include <memory>
#include <string>

#include "controllers/Controller.h"

// The migrate action: copies the settings of another installation into the current ones, saves
// them, optionally deletes the other installation and waits for Enter. A dry run merges in memory
// only, prints the delete's commands and waits for no key.
class MigrateController : public Controller {
 public:
  // Takes ownership of arguments; programVersion is not owned and must outlive the controller.
  MigrateController(ControllerArguments* arguments, Version* programVersion);
  ~MigrateController() override;

  void Execute() override;

 private:
  std::unique_ptr<Settings> loadSource();
  void reportVersion(Version* source);
  void mergePatch(Settings* source, Version* sourceVersion);
  void mergeGroups(Settings* source);
  void copyStrings(Settings* source, std::initializer_list<const char*> paths);
  void copyIntegers(Settings* source, std::initializer_list<const char*> paths);
  // Saves the merged settings, except in a dry run.
  void save();
  void deleteOldInstallation(Settings* source);
  void waitForKey();
  void discardTypeahead();

  Version* programVersion;
  std::string migratePath;
  bool migrateDelete;
  // False when the other installation was to be deleted and its delete failed: the settings are
  // taken over, but the action as a whole has failed.
  bool deleted = true;
  // The backup of the settings made before they were saved ("" in a dry run).
  std::string backup;
};
