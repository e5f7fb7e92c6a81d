#pragma once

#include <string>

class Control;
class Mouse;

// What text and number fields share: placing a character at a display position, reading key
// bytes and the look of the cursor.
class EntryText {
 public:
  // The first count display characters (none for a count of 0 or less).
  static std::string Head(const std::string& text, int count);
  // text with character inserted before display position index, or written over the
  // character there when insert is false (appended at the end in both modes).
  static std::string Put(const std::string& text, int index, const std::string& character,
                         bool insert);
  // A byte delivered as a key (0 to 255, or -128 to -1 for a signed char), or -1 for a key that
  // is no byte.
  static int ByteOf(int key);
  // The column of the mouse, counted from the left of the control's print area.
  static int ClickedColumn(Control& control, const Mouse* mouse);
  // The display character at index, or a space past the end of the text.
  static std::string CharacterAt(const std::string& text, int index);
  // While control is active and drawn: draws character in the cursor look at column (counted
  // from the left of the control's print area) of its first row, when that cell is visible;
  // bold in the focus colours, blinking in insert mode and underlined in overwrite mode.
  static void DrawCursor(Control& control, int column, const std::string& character);
};
