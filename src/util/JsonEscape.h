#pragma once

#include <string>

// The characters of JSON string texts: the escapes read by the parser and those written by the
// writer. Escapes are "\"", "\\", "\/", "\b", "\f", "\n", "\r", "\t" and "\uXXXX" (a surrogate
// pair of two is one character); decoded characters are stored as UTF-8.
class JsonEscape {
 public:
  // Appends the character or escape sequence at index of a string's text to value; returns the
  // bytes read. A backslash that starts no known escape, and a lone surrogate, are kept as they
  // stand.
  static int Read(const std::string& text, int index, std::string* value);
  // Appends text between double quotes, with quote, backslash and control characters escaped.
  static void AppendQuoted(std::string* out, const std::string& text);
};
