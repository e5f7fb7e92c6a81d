#pragma once

#include <map>
#include <string>

#include "ui/Field.h"
#include "ui/ToolkitTest.h"
#include "util/String.h"

// Text and number fields on the in-memory screen, in insert mode at the start.
class EntryTest : public ToolkitTest {
 protected:
  void SetUp() override { Field::Insert = true; }
  void TearDown() override { Field::Insert = true; }

  // Hands each byte of keys to the control as a key; a name in braces stands for a key code:
  // {Home} {End} {Left} {Right} {Bs} (backspace) {Del} {Ins}.
  static void script(Control& control, const std::string& keys) {
    static const std::map<std::string, int> named = {
        {"Home", KEY_HOME}, {"End", KEY_END}, {"Left", KEY_LEFT}, {"Right", KEY_RIGHT},
        {"Bs", 127},        {"Del", KEY_DC},  {"Ins", KEY_IC}};
    for (size_t at = 0; at < keys.size(); ++at) {
      if (keys[at] != '{') {
        control.OnKeyPress(static_cast<unsigned char>(keys[at]));
        continue;
      }
      size_t end = keys.find('}', at);
      control.OnKeyPress(named.at(keys.substr(at + 1, end - at - 1)));
      at = end;
    }
  }
  // The text with "|" at the cursor, counted in display characters.
  static std::string withCursor(const std::string& text, int cursor) {
    // A count of 0 takes the rest of the text.
    return (cursor > 0 ? String::SubStrW(text, 0, cursor) : "") + "|" +
           String::SubStrW(text, cursor, 0);
  }
};
