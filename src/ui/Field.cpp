#include "ui/Field.h"

#include <curses.h>

#include <algorithm>

#include "ui/EntryText.h"
#include "ui/Keys.h"
#include "ui/Style.h"
#include "util/String.h"

namespace {
const unsigned char CyrillicLow = 0xD0;
const unsigned char CyrillicHigh = 0xD1;
const std::string TypeSymbols = "`~!@#$%^&*()-_+=|\\/{}[]:;\"'<>,.? ";
}  // namespace

bool Field::Insert = true;

Field::Field(Logger* logger, std::string name, Position* position, Size* size, std::string text)
    : Control(logger, TYPE, std::move(name), position, size, true),
      initialText(text),
      text(std::move(text)) {}

Size Field::CalculateSize() {
  Size measured(text);
  measured.width = std::max(measured.width, 1);
  measured.height = std::max(measured.height, 1);
  return measured;
}

void Field::SetValue(const std::string& value) {
  if (bind) {
    bind->Set(value);
    text = bind->Get();
  } else {
    text = value;
  }
  cursor = 0;
  offset = 0;
  redraw();
}

void Field::SetBind(Bind<std::string>::Getter getter, Bind<std::string>::Setter setter) {
  log("Field::SetBind on " + name + ".");
  bind = std::make_unique<Bind<std::string>>(std::move(getter), std::move(setter));
  Refresh();
  initialText = text;
}

void Field::Refresh() {
  if (bind) {
    std::string bound = bind->Get();
    if (bound != text)
      text = bound;
    if (cursor > String::LengthW(text))
      moveCursorEnd();
  }
  redraw();
}

void Field::SetChangeHandler(ChangeHandler handler) {
  changeHandler = std::move(handler);
  hasChangeHandler = true;
}

void Field::SetMask(const std::string& value) {
  log("Field::SetMask as " + value + ".");
  mask = Mask(value);
  hasMask = !mask.Empty();
  if (!hasMask)
    return;
  std::string before = text;
  validMask();
  if (text != before && bind)
    bind->Set(text);
}

bool Field::IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool Field::IsNumberChar(char c) {
  return c >= '0' && c <= '9';
}

bool Field::IsWideWordChar(const std::string& character) {
  if (character.size() == 1)
    return IsWordChar(character[0]);
  if (character.size() != 2)
    return false;
  unsigned char lead = character[0];
  unsigned char second = character[1];
  if (lead == CyrillicLow)
    return second == 0x81 || (second >= 0x86 && second <= 0xBF);
  if (lead == CyrillicHigh)
    return (second >= 0x80 && second <= 0x8F) || second == 0x91;
  return false;
}

bool Field::IsTypeChar(const std::string& character) {
  if (character.size() == 2)
    return IsWideWordChar(character);
  if (character.size() != 1 || character[0] == '\0')
    return false;
  char c = character[0];
  return IsNumberChar(c) || IsWordChar(c) || TypeSymbols.find(c) != std::string::npos;
}

void Field::Render() {
  Area print = GetPrintArea();
  if (!print.Valid())
    return;
  {
    Style style(Theme::Input);
    printContentInArea(&print, String::SubStrW(text, offset, 0));
  }
  rendered = true;
  drawCursor();
}

void Field::drawCursor() {
  EntryText::DrawCursor(*this, cursor - offset, EntryText::CharacterAt(text, cursor));
}

bool Field::OnKeyPress(int key) {
  if (navigate(key) || edit(key))
    return true;
  return typeByte(key);
}

bool Field::navigate(int key) {
  switch (key) {
    case KEY_LEFT:
      moveCursorPrevious();
      break;
    case KEY_RIGHT:
      moveCursorNext();
      break;
    case KEY_HOME:
      cursor = 0;
      offset = 0;
      break;
    case KEY_END:
      moveCursorEnd();
      break;
    default:
      return false;
  }
  pendingByte = 0;
  redraw();
  return true;
}

bool Field::edit(int key) {
  if (key == KEY_IC) {
    Insert = !Insert;
    drawCursor();
  } else if (key == Keys::Backspace) {
    if (cursor > 0) {
      text = String::RemoveAt(text, cursor - 1);
      moveCursorPrevious();
    }
  } else if (key == KEY_DC) {
    text = String::RemoveAt(text, cursor);
  } else {
    return false;
  }
  pendingByte = 0;
  redraw();
  return true;
}

bool Field::typeByte(int key) {
  int byte = EntryText::ByteOf(key);
  if (byte < 0) {
    pendingByte = 0;
    return false;
  }
  std::string character =
      pendingByte ? std::string{char(pendingByte), char(byte)} : std::string(1, char(byte));
  bool wasPending = pendingByte != 0;
  pendingByte = 0;
  if (!accepts(character)) {
    if (!wasPending && (byte == CyrillicLow || byte == CyrillicHigh))
      pendingByte = byte;
    return false;
  }
  text = EntryText::Put(text, cursor, character, Insert);
  moveCursorNext();
  validMask();
  redraw();
  return true;
}

bool Field::accepts(const std::string& character) const {
  return hasMask ? inputMask(character, cursor) : IsTypeChar(character);
}

bool Field::inputMask(const std::string& character, int position) const {
  return mask.Accepts(text, position, character);
}

void Field::moveCursorPrevious() {
  if (cursor > 0)
    --cursor;
  if (cursor < offset)
    offset = cursor;
}

void Field::moveCursorNext() {
  if (cursor < String::LengthW(text))
    ++cursor;
  if (cursor - offset >= width())
    offset = cursor - width() + 1;
}

void Field::moveCursorEnd() {
  cursor = String::LengthW(text);
  offset = std::max(cursor - width() + 1, 0);
}

void Field::validMask() {
  if (!hasMask)
    return;
  std::string valid = mask.Valid(text);
  if (valid == text)
    return;
  text = valid;
  if (cursor > String::LengthW(text))
    moveCursorEnd();
  redraw();
}

bool Field::OnMouseClick(Mouse* mouse) {
  bool handled = Control::OnMouseClick(mouse);
  if (!handled)
    return false;
  int column = offset + EntryText::ClickedColumn(*this, mouse);
  cursor = std::clamp(column, 0, String::LengthW(text));
  redraw();
  return handled;
}

void Field::Blur() {
  validMask();
  if (hasChangeHandler)
    contain("Field::Blur " + name, [this] { changeHandler(this, text); });
  if (bind)
    contain("Field::Blur " + name, [this] { bind->Set(text); });
  Control::Blur();
}

int Field::width() {
  if (!size)
    size = std::make_unique<Size>(CalculateSize());
  return std::max(size->width, 1);
}

void Field::redraw() {
  if (rendered)
    Render();
}
