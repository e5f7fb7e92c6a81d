#pragma once

#include <string>

class Control;
class Resources;

// The one line of key hints for the focused control: how the focus moves, how Escape leaves,
// and what the control does with its own keys (Enter presses a button, Enter and Space toggle a
// check box, the side arrows choose in a selector, Insert switches the typing mode of a text
// field, whose current mode is named).
class KeyHints {
 public:
  // active may be null; inForm tells whether Escape closes a form or ends the program.
  static std::string Text(Resources* resources, const Control* active, bool inForm);

 private:
  static std::string ownKeys(Resources* resources, const Control* active);
};
