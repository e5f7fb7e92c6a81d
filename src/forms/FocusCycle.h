#pragma once

#include "ui/Control.h"

class Logger;

// Moves the focus through the main window's items with Tab and the arrow keys: inside the panel
// that holds the focused control first, then on to the next focusable item, wrapping around at
// either end. The focus never leaves a modal form.
class FocusCycle {
 public:
  // items belong to the window and outlive this.
  FocusCycle(Logger* logger, const ControlList* items) : logger(logger), items(items) {}

  // Forward (back = false) or backward (back = true).
  void Switch(bool back);

 private:
  void focusFirst();
  void focusAfter(Control* current, bool back);

  Logger* logger;
  const ControlList* items;
};
