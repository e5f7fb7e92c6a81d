#pragma once

#include <string>

#include "forms/MainPanel.h"

// The main window's panel of the application: the patch version, the application port and the
// catalogue, bound to "Patch/Version", "Install/Port" and "Install/Catalog", with the buttons
// that open the patch and install settings. A version that is not valid is repaired when the
// field is left; a changed port outside 1 to 65535 is refused and the stored one shown again.
class ConfigurePanel : public MainPanel {
 public:
  struct Actions {
    Action openPatchSettings;
    Action openInstallSettings;
    // Called when a typed port has been refused, with the step that shows the stored port again;
    // the caller runs it once the focus has moved.
    std::function<void(Action showStored)> portRefused;
  };

  ConfigurePanel(Logger* logger, Resources* resources, Settings* settings, Actions actions);

  // The panel "PatchPanel" at position (taken over); the caller owns it.
  Panel* Create(Position* position);

 private:
  void addVersion();
  void addPort();
  // The bindings outlive the builder, so they reach only the services.
  static void storeVersion(Settings* settings, Logger* logger, const std::string& text);
  static bool storePort(Settings* settings, Logger* logger, int port);

  Actions actions;
};
