#include "ui/EntryText.h"

#include <curses.h>

#include <memory>

#include "ui/Area.h"
#include "ui/Control.h"
#include "ui/Field.h"
#include "ui/Mouse.h"
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

int EntryText::ClickedColumn(Control& control, const Mouse* mouse) {
  Area print = control.GetPrintArea();
  std::unique_ptr<Position> origin(print.GetPosition());
  std::unique_ptr<Position> point(mouse->GetPosition());
  return point->x - (origin ? origin->x : 0);
}

std::string EntryText::CharacterAt(const std::string& text, int index) {
  return index < String::LengthW(text) ? String::SubStrW(text, index, 1) : " ";
}

void EntryText::DrawCursor(Control& control, int column, const std::string& character) {
  if (!control.IsActive() || !control.IsRendered())
    return;
  Area print = control.GetPrintArea();
  if (!print.Valid())
    return;
  std::unique_ptr<Position> origin(print.GetPosition());
  Position cell(origin->x + column, origin->y);
  if (!print.Belongs(&cell))
    return;
  Size one(1, 1);
  Area area(&cell, &one);
  Style style(Theme::Focused, A_BOLD | (Field::Insert ? A_BLINK : A_UNDERLINE));
  Control::printContentInArea(&area, character);
}
