#pragma once

#include <string>
#include <vector>

// An input mask of a text field: a sequence of items, each describing one character of the text.
// "d" is a digit, "w" a letter (ASCII or two-byte Cyrillic), "a" an ASCII letter, a backslash
// followed by a character is that character literally, and any other character stands for
// itself. An item followed by "+" takes one or more such characters, followed by "*" zero or
// more. Repeating items are greedy and never give characters back.
class Mask {
 public:
  // An empty mask has no items.
  explicit Mask(const std::string& mask = "");
  virtual ~Mask() = default;

  bool Empty() const { return items.empty(); }
  const std::vector<std::string>& Items() const { return items; }

  // Whether the display character (one byte or a byte pair) fits the item.
  static bool Matches(const std::string& item, const std::string& character);
  // The longest start of text that fits the items.
  std::string Valid(const std::string& text) const;
  // Whether character may be placed at the display position of text, judged by the characters
  // before that position.
  bool Accepts(const std::string& text, int position, const std::string& character) const;

 private:
  // Where the walk over a text stands: the item that applies next and how many characters that
  // item holds already.
  struct Walk {
    size_t item = 0;
    int taken = 0;
    bool failed = false;
  };

  static char repetition(const std::string& item);
  // Feeds one character to the walk; marks it failed when no allowed item takes it.
  void step(Walk& walk, const std::string& character) const;
  Walk walkTo(const std::string& text, int position) const;
  bool acceptsLater(size_t from, const std::string& character) const;

  std::vector<std::string> items;
};
