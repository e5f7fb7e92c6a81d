#pragma once

#include <functional>
#include <string>

#include "forms/ScreenLayout.h"
#include "ui/Theme.h"

class Checkbox;
class Logger;
class Panel;
class Resources;
class Settings;

// Builds the controls of the main window's one screen into its layout: the title, version,
// copyright and Exit on the edges, the two component rows, the application and connection
// panels, Additions, the note, and Save, Deploy and Update at the bottom. In the compact layout
// the blank rows between the blocks on the left are left out and the title moves up beside Exit.
class MainScreen {
 public:
  using Action = std::function<void()>;
  // A handler that reports a failure of action, named operation, instead of passing it on.
  using Guard = std::function<Action(const std::string& operation, Action action)>;

  // What the controls do, and the choices the check boxes are bound to (owned by the window).
  struct Actions {
    Guard guard;
    Action exit, save, deploy, update;
    Action openDockerCE, openWebServer, openPatch, openInstall, openAdditions;
    // Called when a typed port has been refused, with the step that shows the stored one again.
    std::function<void(Action showStored)> portRefused;
    bool* installDocker = nullptr;
    bool* installWebServer = nullptr;
  };

  // The services and the layout are shared and not owned.
  MainScreen(Logger* logger, Resources* resources, Settings* settings, ScreenLayout* layout,
             Actions actions, std::string versionText);

  // Appends the controls for the layout's current compactness and focuses the first check box.
  void Build();

 private:
  using Placer = ScreenLayout::Placer;

  int nextRow() const { return layoutRow + (layout->Compact() ? 0 : 1); }
  void addHeader();
  Checkbox* addComponent(const std::string& name, const std::string& text, int row, bool* field,
                         const std::string& buttonName, const std::string& buttonText, Action open);
  void addConfigurePanel();
  void addConnectionPanel();
  void addAdditions();
  void addFooter();
  void stackPanel(Panel* panel);
  void addLabel(const std::string& name, const std::string& text, Theme theme,
                const Placer& placer);
  void addButton(const std::string& name, const std::string& text, const Placer& placer,
                 Action handler);
  static Position* placeOnScreen(const Placer& placer);

  Logger* logger;
  Resources* resources;
  Settings* settings;
  ScreenLayout* layout;
  Actions actions;
  std::string versionText;
  int layoutRow = 0;
};
