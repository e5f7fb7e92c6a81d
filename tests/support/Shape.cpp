#include "support/Shape.h"

bool MatchesShape(const std::string& text, const std::string& shape, bool prefix) {
  if (text.size() < shape.size() || (!prefix && text.size() != shape.size()))
    return false;
  for (size_t i = 0; i < shape.size(); i++) {
    bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == '#' ? !digit : text[i] != shape[i])
      return false;
  }
  return true;
}
