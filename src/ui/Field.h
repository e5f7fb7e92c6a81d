#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Bind.h"
#include "ui/Control.h"
#include "ui/Mask.h"

// A one-line UTF-8 text entry with a cursor, horizontal scrolling, insert and overwrite modes
// and an optional input mask. A two-byte character arrives as two key bytes. The text can be
// bound to an outside value, which is written when the field loses the focus.
class Field : public Control {
 public:
  static constexpr const char* TYPE = "Field";
  using ChangeHandler = std::function<void(Field*, std::string)>;

  // The typing mode of every text and number field: true inserts, false overwrites.
  static bool Insert;

  // Takes ownership of position and size; a null size is measured from the text.
  Field(Logger* logger, std::string name, Position* position, Size* size, std::string text);

  Size CalculateSize() override;
  std::string GetValue() const { return text; }
  bool IsModified() const { return text != initialText; }
  // In display characters: the cursor, and the first character shown.
  int GetCursor() const { return cursor; }
  int GetOffset() const { return offset; }
  // Through the bind when there is one; the cursor goes back to the start.
  void SetValue(const std::string& value);
  // Replaces any previous bind and takes its text as the initial one.
  void SetBind(Bind<std::string>::Getter getter, Bind<std::string>::Setter setter);
  void Refresh();
  // Called with the field and its text whenever the field loses the focus.
  void SetChangeHandler(ChangeHandler handler);
  // An empty mask removes the mask. The current text is cut to what the mask accepts.
  void SetMask(const std::string& value);

  static bool IsWordChar(char c);
  static bool IsNumberChar(char c);
  // character: the byte or byte pair of one display character.
  static bool IsWideWordChar(const std::string& character);
  static bool IsTypeChar(const std::string& character);

  void Render() override;
  bool OnKeyPress(int key) override;
  bool OnMouseClick(Mouse* mouse) override;
  void Blur() override;

 private:
  bool navigate(int key);
  bool edit(int key);
  bool typeByte(int key);
  bool accepts(const std::string& character) const;
  // Whether the mask takes character typed at position of the text.
  bool inputMask(const std::string& character, int position) const;
  void moveCursorPrevious();
  void moveCursorNext();
  void moveCursorEnd();
  void validMask();
  void drawCursor();
  int width();
  void redraw();

  std::string initialText;
  std::string text;
  int offset = 0;
  int cursor = 0;
  int pendingByte = 0;
  std::unique_ptr<Bind<std::string>> bind;
  bool hasMask = false;
  Mask mask;
  bool hasChangeHandler = false;
  ChangeHandler changeHandler;
};
