#include "ui/Mouse.h"

#include <curses.h>

#include "ui/Position.h"

Mouse::Mouse() {
  MEVENT event{};
  error = getmouse(&event) != OK;
  if (error)
    return;
  x = event.x;
  y = event.y;
  state = event.bstate;
}

Mouse::Mouse(int x, int y, unsigned long state) : x(x), y(y), state(state) {}

bool Mouse::IsLeftClick() const {
  return !error && state == static_cast<unsigned long>(BUTTON1_CLICKED);
}

Position* Mouse::GetPosition() const {
  if (error)
    return new Position(-1, -1);
  return new Position(x, y);
}
