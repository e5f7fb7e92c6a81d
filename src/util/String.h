#pragma once

#include <string>
#include <vector>

#include "util/Color.h"

// Static text operations. Operations ending in W, CharAt, SubStrW and RemoveAt count display
// characters: a byte with the high bit set followed by another such byte is one character of two
// bytes; every other byte is a character of its own. Other operations use byte positions.
//
// Empty, CharAt, Cut and Concat return a new NUL-terminated array owned by the caller
// (release it with delete[]).
class String {
 public:
  static int Length(const char* buffer);
  static bool Equals(const char* a, const char* b);
  static char* Empty(int n);
  static char* Empty(int n, char c);
  // Takes ownership of buffer when release is true.
  static char* Cut(char* buffer, int n, bool release);
  // Takes ownership of a / b when releaseA / releaseB is true.
  static char* Concat(char* a, char* b, bool releaseA, bool releaseB);

  static int IndexOf(const std::string& text, char c);
  static int IndexOf(const std::string& text, const std::string& needle);
  static int IndexOfW(const std::string& text, const std::string& needle);
  static int LengthW(const std::string& text);
  static char* CharAt(const std::string& text, int index);  // throws "Out of range string"
  static std::string SubStrW(const std::string& text, int start, int count);
  static std::string RemoveAt(const std::string& text, int index);
  // Throws "Invalid string separator." for an empty separator.
  static std::vector<std::string> Split(const std::string& text, const std::string& separator);
  static std::string Replace(const std::string& text, const std::string& from,
                             const std::string& to);

  template <typename T>
  static T ToNumber(const std::string& text);  // double only; throws "Invalid number parsing"
  template <typename T>
  static std::string ToStringWithPrecision(T value, int precision);

  // The text between the colour's escape code and the reset code; the text alone while
  // highlighting is off.
  static std::string Highlight(const std::string& text, Color color);
  // Turns the colour codes of Highlight on or off for the whole process (on by default).
  static void SetHighlighting(bool on);

  // Byte length of the display character that starts at byte position pos (1 or 2; 0 at the end).
  static int CharSize(const std::string& text, size_t pos);
};

template <>
double String::ToNumber<double>(const std::string& text);
template <>
std::string String::ToStringWithPrecision<int>(int value, int precision);
template <>
std::string String::ToStringWithPrecision<double>(double value, int precision);
