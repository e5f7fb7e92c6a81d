#pragma once

#include <functional>
#include <string>

#include "forms/Form.h"

class Checkbox;
class Field;
class Label;

inline constexpr const char* DEFAULT_MIGRATION_PATH = "./Settings.json";
inline constexpr const char* MIGRATION_PATH_INVALID_LABEL_NAME = "MigrationPathInvalidLabel";

// The form behind the main window's Additions button: ignoring server certificates, deleting the
// current installation and migrating from another installation's settings file. It changes no
// setting itself; each choice goes back to the window through a callback. The ignore choice is
// reported at once; delete and migrate only once the form has gone.
class AdditionsForm : public Form {
 public:
  using IgnoreCertsCallback = std::function<void(bool)>;
  using DeleteCallback = std::function<void()>;
  using MigrateCallback = std::function<void(std::string path, bool deleteAfter)>;

  // The services and the container are shared and not owned; the three callbacks are required.
  AdditionsForm(Logger* logger, Resources* resources, Settings* settings, Container* container,
                bool ignoreCerts, IgnoreCertsCallback onIgnoreCertsChanged, DeleteCallback onDelete,
                MigrateCallback onMigrate);

  // The inner panel of the migration controls; the caller owns it.
  Panel* createMigrationPanel(MigrateCallback onMigrate);
  void OnDelete(DeleteCallback onDelete);
  // Refuses an empty path and the current settings file, whatever its spelling or link.
  void OnMigrate(const MigrateCallback& onMigrate);

 private:
  void addIgnoreCerts(ControlList* items, IgnoreCertsCallback onIgnoreCertsChanged);
  void addDelete(ControlList* items, DeleteCallback onDelete);
  bool pathRefused(const std::string& path);
  void showPathInvalid();
  // Runs action once the window has destroyed the form, and asks it to.
  void afterClose(std::function<void()> action);

  bool ignoreCerts;
  Panel* migrationPanel = nullptr;
  Label* migrationPathLabel = nullptr;
  Field* migrationPathField = nullptr;
  Checkbox* migrationDeleteCheckbox = nullptr;
};
