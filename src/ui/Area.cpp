#include "ui/Area.h"

Area::Area(const Position* position, const Size* size)
    : position(position ? std::make_unique<Position>(*position) : nullptr),
      size(size ? std::make_unique<Size>(*size) : nullptr) {}

Area::Area(const Area* other) {
  if (other != nullptr && other->Valid())
    *this = *other;
}

Area::Area(const Area* limit, const Area* area) {
  if (area == nullptr || !area->Valid())
    throw "NullReferenceException";
  *this = *area;
  if (limit == nullptr) {
    if (position->x < 0 || position->y < 0)
      invalidate();
    return;
  }
  if (!limit->Valid()) {
    invalidate();
    return;
  }
  const Position& from = *limit->position;
  int lastX = from.x + limit->size->width - 1;
  int lastY = from.y + limit->size->height - 1;
  if (position->x < from.x || position->y < from.y || position->x > lastX || position->y > lastY) {
    invalidate();
    return;
  }
  if (position->x + size->width - 1 > lastX)
    size->width = limit->size->width - (position->x - from.x);
  if (position->y + size->height - 1 > lastY)
    size->height = limit->size->height - (position->y - from.y);
}

Area::Area(const Area& other)
    : position(other.position ? std::make_unique<Position>(*other.position) : nullptr),
      size(other.size ? std::make_unique<Size>(*other.size) : nullptr) {}

Area& Area::operator=(const Area& other) {
  if (this != &other) {
    position = other.position ? std::make_unique<Position>(*other.position) : nullptr;
    size = other.size ? std::make_unique<Size>(*other.size) : nullptr;
  }
  return *this;
}

Position* Area::GetPosition() const {
  return position ? new Position(*position) : nullptr;
}

Size* Area::GetSize() const {
  return size ? new Size(*size) : nullptr;
}

void Area::Offset(const Position* delta) {
  if (position && delta) {
    position->x += delta->x;
    position->y += delta->y;
  }
}

Position* Area::GetOffsetPoint(const Position* delta) const {
  Position* point = position ? new Position(*position) : new Position(0, 0);
  if (delta) {
    point->x += delta->x;
    point->y += delta->y;
  }
  return point;
}

bool Area::OutOfLimits(const Position* p) const {
  if (!size || p == nullptr)
    return true;
  return p->x < 0 || p->y < 0 || p->x >= size->width || p->y >= size->height;
}

bool Area::Belongs(const Position* p) const {
  if (!Valid() || p == nullptr)
    return false;
  return position->x <= p->x && p->x < position->x + size->width && position->y <= p->y &&
         p->y < position->y + size->height;
}

std::string Area::ToString() const {
  std::string where = position ? position->ToString() : "";
  std::string extent = size ? size->ToString() : "";
  return "{" + where + ":" + extent + "}";
}

void Area::invalidate() {
  position.reset();
  size.reset();
}
