#include "ui/Mask.h"

#include "ui/Field.h"
#include "util/String.h"

namespace {
const char Escape = '\\';

bool isRepetition(char c) {
  return c == '+' || c == '*';
}
}  // namespace

Mask::Mask(const std::string& mask) {
  size_t i = 0;
  while (i < mask.size()) {
    size_t length = String::CharSize(mask, i);
    if (mask[i] == Escape && i + 1 < mask.size())
      length = 1 + String::CharSize(mask, i + 1);
    if (i + length < mask.size() && isRepetition(mask[i + length]))
      ++length;
    items.push_back(mask.substr(i, length));
    i += length;
  }
}

char Mask::repetition(const std::string& item) {
  if (item.size() < 2 || !isRepetition(item.back()))
    return 0;
  if (item.size() == 2 && item[0] == Escape)
    return 0;
  return item.back();
}

bool Mask::Matches(const std::string& item, const std::string& character) {
  if (item.empty() || character.empty())
    return false;
  std::string body = repetition(item) ? item.substr(0, item.size() - 1) : item;
  if (body.size() > 1 && body[0] == Escape)
    return body.substr(1) == character;
  if (body == "d")
    return character.size() == 1 && Field::IsNumberChar(character[0]);
  if (body == "w")
    return Field::IsWideWordChar(character);
  if (body == "a")
    return character.size() == 1 && Field::IsWordChar(character[0]);
  return body == character;
}

void Mask::step(Walk& walk, const std::string& character) const {
  while (walk.item < items.size()) {
    const std::string& item = items[walk.item];
    char repeat = repetition(item);
    if (Matches(item, character)) {
      if (repeat) {
        ++walk.taken;
      } else {
        ++walk.item;
        walk.taken = 0;
      }
      return;
    }
    bool satisfied = repeat == '*' || (repeat == '+' && walk.taken > 0);
    if (!satisfied)
      break;
    ++walk.item;
    walk.taken = 0;
  }
  walk.failed = true;
}

Mask::Walk Mask::walkTo(const std::string& text, int position) const {
  Walk walk;
  int index = 0;
  for (size_t pos = 0; pos < text.size() && index < position && !walk.failed; ++index) {
    size_t length = String::CharSize(text, pos);
    step(walk, text.substr(pos, length));
    pos += length;
  }
  return walk;
}

std::string Mask::Valid(const std::string& text) const {
  Walk walk;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t length = String::CharSize(text, pos);
    step(walk, text.substr(pos, length));
    if (walk.failed)
      return text.substr(0, pos);
    pos += length;
  }
  return text;
}

bool Mask::Accepts(const std::string& text, int position, const std::string& character) const {
  Walk walk = walkTo(text, position);
  if (walk.failed || walk.item >= items.size())
    return false;
  const std::string& item = items[walk.item];
  if (Matches(item, character))
    return true;
  char repeat = repetition(item);
  bool mayLeave = repeat == '*' || (repeat == '+' && position > 0 && walk.taken > 0);
  return mayLeave && acceptsLater(walk.item + 1, character);
}

bool Mask::acceptsLater(size_t from, const std::string& character) const {
  for (size_t i = from; i < items.size(); ++i) {
    if (Matches(items[i], character))
      return true;
    if (repetition(items[i]) != '*')
      return false;
  }
  return false;
}
