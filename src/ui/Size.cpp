#include "ui/Size.h"

#include <algorithm>

#include "util/String.h"

Size::Size(const Size* other) {
  if (other == nullptr)
    throw "NullReferenceException";
  width = other->width;
  height = other->height;
}

Size::Size(const std::string& text) : width(0), height(1) {
  int line = 0;
  for (size_t pos = 0; pos < text.size();) {
    if (text[pos] == '\n') {
      ++height;
      width = std::max(width, line);
      line = 0;
      ++pos;
      continue;
    }
    ++line;
    pos += std::max(String::CharSize(text, pos), 1);
  }
  width = std::max(width, line);
}

bool Size::Equals(const Size* other) const {
  return other != nullptr && width == other->width && height == other->height;
}

std::string Size::ToString() const {
  return "[" + std::to_string(width) + "; " + std::to_string(height) + "]";
}
