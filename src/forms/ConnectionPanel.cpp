#include "forms/ConnectionPanel.h"

#include "app/DbType.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "ui/Select.h"

namespace {
const char* const TYPE_PATH = SettingsPath::ConnectionType;
}

ConnectionPanel::ConnectionPanel(Logger* logger, Resources* resources, Settings* settings)
    : MainPanel(logger, resources, settings) {}

Panel* ConnectionPanel::Create(Position* position) {
  addLabel("DataBaseTypeLabel", resources->texts["CONNECT_TYPE"], Theme::Basic, 0);
  addLabel("ConnectServerLabel", resources->texts["CONNECT_SERVER"], Theme::Basic, 2);
  addLabel("ConnectionBaseLabel", resources->texts["CONNECT_BASE"], Theme::Basic, 4);
  addTypeSelect();
  addField("ConnectServerField", 2, 40, SettingsPath::ConnectionServer);
  addField("ConnectBaseField", 4, 40, SettingsPath::ConnectionBase);
  return finish("ConnectPanel", resources->texts["CONNECT_PANEL"], position);
}

// The database type, stored as its number.
void ConnectionPanel::addTypeSelect() {
  auto* select = new Select<int>(logger, "DataBaseTypeSelect", new Position(column, 0), nullptr,
                                 DbType::GetItems(), 0);
  add(select);
  Settings* store = settings;
  select->SetBind([store] { return store->GetInteger(TYPE_PATH); },
                  [store](int type) { store->SetInteger(TYPE_PATH, type); });
}
