#pragma once

#include <string>

// A screen cell: x is the column, y the row, both counted from 0.
class Position {
 public:
  Position(int x, int y) : x(x), y(y) {}
  // Copies other; a null pointer throws "NullReferenceException".
  explicit Position(const Position* other);
  Position(const Position&) = default;
  Position& operator=(const Position&) = default;
  virtual ~Position() = default;

  bool Equals(const Position* other) const;
  std::string ToString() const;

  int x;
  int y;
};
