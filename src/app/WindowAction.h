#pragma once

// The action chosen in the text interface, returned by the main window.
struct WindowAction {
  static constexpr int NO_ACTION = 0;
  static constexpr int DEPLOY = 1;
  static constexpr int UPDATE = 2;
  static constexpr int DELETE = 3;
  static constexpr int MIGRATE = 4;
  // Given on the command line only.
  static constexpr int ROLLBACK = 5;
};
