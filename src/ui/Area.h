#pragma once

#include <memory>
#include <string>

#include "ui/Position.h"
#include "ui/Size.h"

// A rectangle of cells: a position and a size, each of which may be absent. An area is valid
// when both are present; clipping reports an area that vanished as invalid.
class Area {
 public:
  // An invalid area: neither part is present.
  Area() = default;
  // Copies each part that is not null; a null part stays absent.
  Area(const Position* position, const Size* size);
  // Copies a valid source; a null or invalid source gives an area with neither part.
  explicit Area(const Area* other);
  // The area cut to limit: only its right and bottom edges move. A null or invalid area throws
  // "NullReferenceException"; without a limit, an area with a negative coordinate is invalid.
  Area(const Area* limit, const Area* area);
  Area(const Area& other);
  Area& operator=(const Area& other);
  virtual ~Area() = default;

  bool Valid() const { return position && size; }
  // New copies owned by the caller.
  Position* GetPosition() const;
  Size* GetSize() const;

  void Offset(const Position* delta);
  // A new position (owned by the caller): the area's position moved by delta.
  Position* GetOffsetPoint(const Position* delta) const;
  // p relative to the area's own top-left: true when it lies outside the size.
  bool OutOfLimits(const Position* p) const;
  // p in the area's coordinates: true when it lies inside.
  bool Belongs(const Position* p) const;
  std::string ToString() const;

 private:
  void invalidate();

  std::unique_ptr<Position> position;
  std::unique_ptr<Size> size;
};
