#include "ui/SelectDrawing.h"

#include <curses.h>

#include <memory>

#include "ui/Control.h"
#include "ui/Keys.h"
#include "ui/Select.h"
#include "ui/Style.h"
#include "util/String.h"

static_assert(Keys::Left == KEY_LEFT && Keys::Right == KEY_RIGHT, "side arrows follow curses");

namespace {
Position lastCellOfFirstRow(const Area& print) {
  std::unique_ptr<Position> origin(print.GetPosition());
  std::unique_ptr<Size> extent(print.GetSize());
  return Position(origin->x + extent->width - 1, origin->y);
}

void printCell(int x, int y, const char* text) {
  Position cell(x, y);
  Size one(1, 1);
  Area area(&cell, &one);
  Control::printContentInArea(&area, text);
}
}  // namespace

bool SelectDrawing::IsFirstCell(const Area& print, const Position* point) {
  std::unique_ptr<Position> origin(print.GetPosition());
  return point != nullptr && origin->Equals(point);
}

bool SelectDrawing::IsLastCellOfFirstRow(const Area& print, const Position* point) {
  Position last = lastCellOfFirstRow(print);
  return point != nullptr && print.Belongs(&last) && last.Equals(point);
}

void SelectDrawing::Draw(const Area& print, bool active, const std::string& text) {
  drawArrows(print, active);
  drawValue(print, text);
}

void SelectDrawing::drawArrows(const Area& print, bool active) {
  std::unique_ptr<Position> origin(print.GetPosition());
  Style style(active ? Theme::Focused : Theme::Button, active ? A_BOLD | A_BLINK : A_BOLD);
  printCell(origin->x, origin->y, PREVIOUS_SELECTOR);
  Position last = lastCellOfFirstRow(print);
  if (print.Belongs(&last))
    printCell(last.x, last.y, NEXT_SELECTOR);
}

void SelectDrawing::drawValue(const Area& print, const std::string& text) {
  std::unique_ptr<Position> origin(print.GetPosition());
  std::unique_ptr<Size> extent(print.GetSize());
  Position last = lastCellOfFirstRow(print);
  Position start(origin->x + 1, origin->y);
  Size valueSize(extent->width - (print.Belongs(&last) ? 2 : 1), extent->height);
  if (!print.Belongs(&start) || valueSize.width < 1)
    return;
  int length = String::LengthW(text);
  std::string shown = text;
  if (length <= valueSize.width - 2)
    shown = std::string((valueSize.width - length) / 2, ' ') + text;
  Area value(&start, &valueSize);
  Area visible(&print, &value);
  Style style(Theme::Button);
  Control::printContentInArea(&visible, shown);
}
