#pragma once

#include <string>

// A count of columns and rows.
class Size {
 public:
  Size(int width, int height) : width(width), height(height) {}
  // Copies other; a null pointer throws "NullReferenceException".
  explicit Size(const Size* other);
  // The block a text occupies: its widest line in display characters by its number of lines.
  explicit Size(const std::string& text);
  Size(const Size&) = default;
  Size& operator=(const Size&) = default;
  virtual ~Size() = default;

  bool Equals(const Size* other) const;
  std::string ToString() const;

  int width;
  int height;
};
