#include "forms/AdditionsForm.h"

#include <algorithm>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "events/EventNames.h"
#include "events/Handler.h"
#include "ui/Button.h"
#include "ui/Checkbox.h"
#include "ui/Container.h"
#include "ui/Field.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "util/String.h"

namespace {
const char* const NAME = "AdditionsFormPanel";
}  // namespace

AdditionsForm::AdditionsForm(Logger* logger, Resources* resources, Settings* settings,
                             Container* container, bool ignoreCerts,
                             IgnoreCertsCallback onIgnoreCertsChanged, DeleteCallback onDelete,
                             MigrateCallback onMigrate)
    : Form(logger, resources, settings, container, NAME, resources->texts["ADDITIONS"]),
      ignoreCerts(ignoreCerts) {
  ControlList items;
  addIgnoreCerts(&items, std::move(onIgnoreCertsChanged));
  addDelete(&items, std::move(onDelete));
  items.push_back(createMigrationPanel(std::move(onMigrate)));
  applyKey = "CLOSE";
  cancelKey = "";
  createFormControl(
      &items, [this] { closeForm(); }, nullptr);
  panel->SetModalMode(true);
}

// The window hears of every change at once, while the form is still open.
void AdditionsForm::addIgnoreCerts(ControlList* items, IgnoreCertsCallback onIgnoreCertsChanged) {
  auto* check = new Checkbox(logger, "IgnoreServerCertsCheckbox", new Position(0, 0), nullptr,
                             resources->texts["IGNORE_SERVER_CERTIFICATE"], false);
  items->push_back(check);
  check->SetBind([this] { return ignoreCerts; },
                 [this, onIgnoreCertsChanged = std::move(onIgnoreCertsChanged)](bool value) {
                   if (value == ignoreCerts)
                     return;
                   ignoreCerts = value;
                   onIgnoreCertsChanged(value);
                 });
}

void AdditionsForm::addDelete(ControlList* items, DeleteCallback onDelete) {
  auto* label = new Label(logger, "DeleteCurrentLabel", new Position(0, 1), nullptr,
                          resources->texts["DELETE_CURRENT_INSTALL"], Theme::Basic);
  items->push_back(label);
  items->push_back(new Button(
      logger, "DeleteCurrentButton", new Position(label->CalculateSize().width + 1, 1), nullptr,
      resources->texts["DELETE"], [this, onDelete = std::move(onDelete)] { OnDelete(onDelete); }));
}

Panel* AdditionsForm::createMigrationPanel(MigrateCallback onMigrate) {
  ControlList items{new Label(logger, "MigrationDescriptionLabel", new Position(0, 0), nullptr,
                              resources->texts["MIGRATION_DESCRIPTION"], Theme::Basic)};
  migrationPathLabel = new Label(logger, "MigrationPathLabel", new Position(0, 1), nullptr,
                                 resources->texts["MIGRATION_PATH"], Theme::Highlight);
  items.push_back(migrationPathLabel);
  int column = migrationPathLabel->CalculateSize().width + 1;
  migrationPathField = new Field(logger, "MigrationPathField", new Position(column, 1),
                                 new Size(40, 1), DEFAULT_MIGRATION_PATH);
  items.push_back(migrationPathField);
  migrationDeleteCheckbox = new Checkbox(logger, "MigrationDeleteCheckbox", new Position(0, 3),
                                         nullptr, resources->texts["MIGRATION_DELETE"], true);
  items.push_back(migrationDeleteCheckbox);
  std::string title = resources->texts["MIGRATION"];
  int width = std::max(Control::CalculateEnumSize(items).width, String::LengthW(title));
  std::string migrate = resources->texts["MIGRATE"];
  int buttonWidth = Button::CalculateSizeForContent(migrate).width;
  items.push_back(new Button(logger, "MigrateButton",
                             new Position(std::max(0, width - buttonWidth), 5), nullptr, migrate,
                             [this, onMigrate = std::move(onMigrate)] { OnMigrate(onMigrate); }));
  migrationPanel = new Panel(logger, "MigrationPanel", new Position(0, 2), nullptr, title, &items);
  return migrationPanel;
}

void AdditionsForm::OnDelete(DeleteCallback onDelete) {
  afterClose(std::move(onDelete));
}

void AdditionsForm::OnMigrate(const MigrateCallback& onMigrate) {
  std::string path = migrationPathField->GetValue();
  if (pathRefused(path)) {
    showPathInvalid();
    return;
  }
  bool deleteAfter = migrationDeleteCheckbox->GetValue();
  afterClose([onMigrate, path, deleteAfter] { onMigrate(path, deleteAfter); });
}

// Migrating from this tool's own settings file would delete the running installation.
bool AdditionsForm::pathRefused(const std::string& path) {
  if (path.empty()) {
    logger->Write("AdditionsForm::OnMigrate Path is empty.");
    return true;
  }
  if (settings->IsOwnFile(path)) {
    logger->Write("AdditionsForm::OnMigrate Path is the current settings file " + path + ".");
    return true;
  }
  return false;
}

void AdditionsForm::showPathInvalid() {
  if (migrationPanel->GetItem(MIGRATION_PATH_INVALID_LABEL_NAME) == nullptr)
    migrationPanel->AddItem(new Label(logger, MIGRATION_PATH_INVALID_LABEL_NAME, new Position(0, 2),
                                      nullptr, resources->texts["MIGRATION_PATH_INVALID"],
                                      Theme::Error));
  panel->Refresh();
}

void AdditionsForm::afterClose(std::function<void()> action) {
  container->AppendListener(EVENT_MODAL_FORM_CLOSED,
                            new Handler(
                                logger, [action = std::move(action)](Event*) { action(); }, true));
  closeForm();
}
