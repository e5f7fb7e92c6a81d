#include "ui/Position.h"

Position::Position(const Position* other) {
  if (other == nullptr)
    throw "NullReferenceException";
  x = other->x;
  y = other->y;
}

bool Position::Equals(const Position* other) const {
  return other != nullptr && x == other->x && y == other->y;
}

std::string Position::ToString() const {
  return "[" + std::to_string(x) + ", " + std::to_string(y) + "]";
}
