#include "ui/EntryText.h"

#include <curses.h>

#include <memory>

#include "ui/Area.h"
#include "ui/Control.h"
#include "ui/Field.h"
#include "ui/Style.h"
#include "util/String.h"

std::string EntryText::Head(const std::string& text, int count) {
  return count <= 0 ? std::string() : String::SubStrW(text, 0, count);
}

std::string EntryText::Put(const std::string& text, int index, const std::string& character,
                           bool insert) {
  int rest = insert ? index : index + 1;
  return Head(text, index) + character + String::SubStrW(text, rest, 0);
}

int EntryText::ByteOf(int key) {
  if (key < -128 || key > 255)
    return -1;
  return key & 0xFF;
}

void EntryText::DrawCursor(const Area& print, int column, const std::string& character) {
  if (!print.Valid())
    return;
  std::unique_ptr<Position> origin(print.GetPosition());
  Position cell(column, origin->y);
  if (!print.Belongs(&cell))
    return;
  Size one(1, 1);
  Area area(&cell, &one);
  Style style(Theme::Focused, A_BOLD | (Field::Insert ? A_BLINK : A_UNDERLINE));
  Control::printContentInArea(&area, character);
}
