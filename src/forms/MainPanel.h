#pragma once

#include <functional>
#include <string>

#include "ui/Control.h"
#include "ui/Theme.h"

class Button;
class Field;
class Logger;
class Panel;
class Resources;
class Settings;

// The common build of the main window's two framed panels: labels on the inner rows 0, 2 and 4
// in column 0, editing controls in a field column pushed right by the widest label, and every
// editing control bound to one settings entry, so that an edited value is stored at once.
class MainPanel {
 public:
  using Action = std::function<void()>;

  // The services are shared and not owned.
  MainPanel(Logger* logger, Resources* resources, Settings* settings);
  virtual ~MainPanel();
  MainPanel(const MainPanel&) = delete;
  MainPanel& operator=(const MainPanel&) = delete;

 protected:
  // A label on row; the field column moves right of it.
  void addLabel(const std::string& name, const std::string& text, Theme theme, int row);
  // A text entry of the given width at the field column, bound to the entry at path.
  Field* addField(const std::string& name, int row, int width, const std::string& path);
  // A button one column right of control, on its row.
  void addButton(const std::string& name, const std::string& text, Control* control, Action action);
  // Appends control, which the panel under construction takes over.
  void add(Control* control);
  // The panel holding every control added, at position (taken over); the caller owns it.
  Panel* finish(const std::string& name, const std::string& title, Position* position);

  Logger* logger;
  Resources* resources;
  Settings* settings;
  int column = 1;

 private:
  ControlList items;
};
