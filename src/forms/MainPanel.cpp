#include "forms/MainPanel.h"

#include <algorithm>

#include "app/Settings.h"
#include "ui/Button.h"
#include "ui/Field.h"
#include "ui/Label.h"
#include "ui/Panel.h"

MainPanel::MainPanel(Logger* logger, Resources* resources, Settings* settings)
    : logger(logger), resources(resources), settings(settings) {}

// Controls of a panel that was never finished, for example after a missing settings entry.
MainPanel::~MainPanel() {
  for (Control* item : items)
    delete item;
}

void MainPanel::addLabel(const std::string& name, const std::string& text, Theme theme, int row) {
  auto* label = new Label(logger, name, new Position(0, row), nullptr, text, theme);
  add(label);
  column = std::max(column, label->CalculateSize().width + 1);
}

Field* MainPanel::addField(const std::string& name, int row, int width, const std::string& path) {
  auto* field = new Field(logger, name, new Position(column, row), new Size(width, 1), "");
  add(field);
  Settings* store = settings;
  field->SetBind([store, path] { return store->GetString(path); },
                 [store, path](std::string value) { store->SetString(path, value); });
  return field;
}

void MainPanel::addButton(const std::string& name, const std::string& text, Control* control,
                          Action action) {
  std::unique_ptr<Position> at(control->GetPosition());
  int x = at->x + control->GetSize().width + 1;
  add(new Button(logger, name, new Position(x, at->y), nullptr, text, std::move(action)));
}

void MainPanel::add(Control* control) {
  items.push_back(control);
}

Panel* MainPanel::finish(const std::string& name, const std::string& title, Position* position) {
  auto* panel = new Panel(logger, name, position, nullptr, title, &items);
  items.clear();
  return panel;
}
