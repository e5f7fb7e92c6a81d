#pragma once

#include "ui/Theme.h"

// Switches a colour pair and attributes on for drawing on the standard screen, and off again
// when it goes out of scope.
class Style {
 public:
  // attributes: curses attribute bits such as A_BOLD.
  explicit Style(Theme theme, unsigned long attributes = 0);
  ~Style();
  Style(const Style&) = delete;
  Style& operator=(const Style&) = delete;

 private:
  unsigned long attributes;
};
