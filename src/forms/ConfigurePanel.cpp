#include "forms/ConfigurePanel.h"

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "app/SettingsSchema.h"
#include "app/Version.h"
#include "ui/Field.h"
#include "ui/Number.h"
#include "ui/Panel.h"

namespace {
const char* const VERSION_PATH = SettingsPath::PatchVersion;
const char* const PORT_PATH = SettingsPath::InstallPort;
const char* const VERSION_MASK = "d+.d+.d+.d+";
}  // namespace

ConfigurePanel::ConfigurePanel(Logger* logger, Resources* resources, Settings* settings,
                               Actions actions)
    : MainPanel(logger, resources, settings), actions(std::move(actions)) {}

Panel* ConfigurePanel::Create(Position* position) {
  addLabel("VersionLabel", resources->texts["PATCH_VERSION"], Theme::Highlight, 0);
  addLabel("PortLabel", resources->texts["INSTALL_PORT"], Theme::Basic, 2);
  addLabel("CatalogLabel", resources->texts["INSTALL_CATALOG"], Theme::Basic, 4);
  addVersion();
  addPort();
  addField("CatalogField", 4, 40, SettingsPath::InstallCatalog);
  return finish("PatchPanel", resources->texts["CONFIGURE_PANEL"], position);
}

// A text that is no valid version is replaced by its repaired form when the field is left, so
// that the repaired form is what gets stored.
void ConfigurePanel::addVersion() {
  auto* field = new Field(logger, "VersionField", new Position(column, 0), new Size(12, 1), "");
  add(field);
  Settings* store = settings;
  Logger* log = logger;
  field->SetBind([store] { return store->GetString(VERSION_PATH); },
                 [store, log](std::string text) { storeVersion(store, log, text); });
  field->SetMask(VERSION_MASK);
  field->SetChangeHandler([](Field* changed, std::string text) {
    if (!Version::Valid(text))
      changed->SetValue(Version::Reconfigure(text));
  });
  addButton("SettingsPatchButton", resources->texts["PATCH_SETTINGS"], field,
            actions.openPatchSettings);
}

void ConfigurePanel::addPort() {
  auto* field = new Number<int>(logger, "PortField", new Position(column, 2), new Size(8, 1), 0);
  add(field);
  Settings* store = settings;
  Logger* log = logger;
  auto refused = actions.portRefused;
  field->SetBind([store] { return store->GetInteger(PORT_PATH); },
                 [store, log, field, refused](int port) {
                   if (storePort(store, log, port))
                     return;
                   Action showStored = [field] { field->Refresh(); };
                   if (refused)
                     refused(showStored);
                   else
                     showStored();
                 });
  addButton("SettingsInstallButton", resources->texts["INSTALL_SETTINGS"], field,
            actions.openInstallSettings);
}

// Only a valid version reaches the settings; anything else leaves the stored one.
void ConfigurePanel::storeVersion(Settings* settings, Logger* logger, const std::string& text) {
  if (!SettingsSchema::IsPatchVersion(text)) {
    logger->Write("ConfigurePanel::storeVersion refused " + text + ".");
    return;
  }
  settings->SetString(VERSION_PATH, text);
}

// The stored port passes as it is; a changed one must be a port number. False when refused.
bool ConfigurePanel::storePort(Settings* settings, Logger* logger, int port) {
  if (port == settings->GetInteger(PORT_PATH))
    return true;
  if (!SettingsSchema::IsPort(port)) {
    logger->Write("ConfigurePanel::storePort refused " + std::to_string(port) + ".");
    return false;
  }
  settings->SetInteger(PORT_PATH, port);
  return true;
}
