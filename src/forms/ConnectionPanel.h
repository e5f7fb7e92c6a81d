#pragma once

#include "forms/MainPanel.h"

// The main window's panel of the database connection: the database type, server and database
// name, bound to "Connection/Type", "Connection/Server" and "Connection/Base".
class ConnectionPanel : public MainPanel {
 public:
  ConnectionPanel(Logger* logger, Resources* resources, Settings* settings);

  // The panel "ConnectPanel" at position (taken over); the caller owns it.
  Panel* Create(Position* position);

 private:
  void addTypeSelect();
};
