#pragma once

// The colour pair a control is drawn with. The main window defines the pairs; every theme other
// than Basic is drawn bold when a label uses it.
enum class Theme : int {
  Basic = 1,      // white on blue: plain text and panel frames
  Highlight = 2,  // yellow on blue: titles that stand out, blinking frames
  Input = 3,      // black on white: check boxes and text entry
  Button = 4,     // black on cyan: buttons and selectors
  Focused = 5,    // yellow on cyan: the control that has the focus
  Notice = 6,     // white on magenta: notes
  Error = 7       // white on red: errors
};
