#pragma once

#include <string>

#include "ui/Field.h"
#include "ui/ToolkitTest.h"

// Text and number fields on the in-memory screen, in insert mode at the start.
class EntryTest : public ToolkitTest {
 protected:
  void SetUp() override { Field::Insert = true; }
  void TearDown() override { Field::Insert = true; }

  static void press(Control& control, std::initializer_list<int> keys) {
    for (int key : keys)
      control.OnKeyPress(key);
  }
  // Hands each byte to the control as a key; returns the bytes it consumed.
  static std::string consumed(Control& control, const std::string& bytes) {
    std::string taken;
    for (char c : bytes)
      if (control.OnKeyPress(static_cast<unsigned char>(c)))
        taken += c;
    return taken;
  }
  // A cell as its glyph, its colour pair and its attributes: "a 5 bold blink".
  std::string look(int x, int y = 0) const {
    Screen::Cell cell = screen.At(x, y);
    return cell.glyph + " " + std::to_string(cell.pair) + (cell.bold ? " bold" : "") +
           (cell.blink ? " blink" : "") + (cell.underline ? " underline" : "");
  }
};
