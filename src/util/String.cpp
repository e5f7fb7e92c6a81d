#include "util/String.h"

#include <cstring>

namespace {

// After this many divisions by ten the share of any digit has become 0 (9 reaches 0 after 325),
// so further divisions cannot change a sum.
const int FRACTION_DIVISIONS_LIMIT = 330;

const char* const COLOR_CODES[] = {"0",    "0;30", "0;31", "0;32", "0;33", "0;34",
                                   "0;35", "0;36", "0;37", "1;30", "1;31", "1;32",
                                   "1;33", "1;34", "1;35", "1;36", "1;37"};

bool highBit(char c) {
  return (static_cast<unsigned char>(c) & 0x80) != 0;
}

// Share of a fraction digit at fraction position k: the digit divided k times by ten.
double fractionShare(int digit, int k) {
  double share = digit;
  if (k > FRACTION_DIVISIONS_LIMIT) {
    return 0;
  }
  for (int i = 0; i < k && share != 0; ++i) {
    share /= 10.0;
  }
  return share;
}

std::string formatPieces(const std::string& formatted, int precision) {
  std::vector<std::string> pieces = String::Split(String::Replace(formatted, ",", "."), ".");
  if (pieces.size() > 2) {
    throw "Invalid number serialization";
  }
  if (pieces.size() == 1) {
    return precision >= 1 ? pieces[0] + "." + std::string(precision, '0') : pieces[0];
  }
  std::string fraction = pieces[1];
  if (precision == 0) {
    return pieces[0];
  }
  if (precision < 0) {
    size_t last = fraction.find_last_not_of('0');
    return last == std::string::npos ? pieces[0] : pieces[0] + "." + fraction.substr(0, last + 1);
  }
  fraction.resize(precision, '0');
  return pieces[0] + "." + fraction;
}

}  // namespace

int String::Length(const char* buffer) {
  return buffer == nullptr ? 0 : static_cast<int>(std::strlen(buffer));
}

bool String::Equals(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) {
    return a == b;
  }
  return std::strcmp(a, b) == 0;
}

char* String::Empty(int n) {
  if (n < 0) {
    n = 0;
  }
  char* buffer = new char[n + 1];
  std::memset(buffer, 0, n + 1);
  return buffer;
}

char* String::Empty(int n, char c) {
  char* buffer = Empty(n);
  if (n > 0) {
    std::memset(buffer, c, n);
  }
  return buffer;
}

char* String::Cut(char* buffer, int n, bool release) {
  int length = Length(buffer);
  int size = n < 0 ? 0 : (n < length ? n : length);
  char* result = Empty(size);
  if (size > 0) {
    std::memcpy(result, buffer, size);
  }
  if (release) {
    delete[] buffer;
  }
  return result;
}

char* String::Concat(char* a, char* b, bool releaseA, bool releaseB) {
  int lengthA = Length(a);
  int lengthB = Length(b);
  char* result = Empty(lengthA + lengthB);
  if (lengthA > 0) {
    std::memcpy(result, a, lengthA);
  }
  if (lengthB > 0) {
    std::memcpy(result + lengthA, b, lengthB);
  }
  if (releaseA) {
    delete[] a;
  }
  if (releaseB && b != nullptr) {
    delete[] b;
  }
  return result;
}

int String::IndexOf(const std::string& text, char c) {
  size_t found = text.find(c);
  return found == std::string::npos ? -1 : static_cast<int>(found);
}

int String::IndexOf(const std::string& text, const std::string& needle) {
  if (needle.empty() || needle.size() > text.size()) {
    return -1;
  }
  size_t found = text.find(needle);
  return found == std::string::npos ? -1 : static_cast<int>(found);
}

int String::IndexOfW(const std::string& text, const std::string& needle) {
  if (needle.empty() || needle.size() > text.size()) {
    return -1;
  }
  size_t last = text.size() - needle.size();
  int index = 0;
  for (size_t pos = 0; pos <= last; pos += CharSize(text, pos), ++index) {
    if (text.compare(pos, needle.size(), needle) == 0) {
      return index;
    }
  }
  return -1;
}

int String::LengthW(const std::string& text) {
  int count = 0;
  for (size_t pos = 0; pos < text.size(); pos += CharSize(text, pos)) {
    ++count;
  }
  return count;
}

char* String::CharAt(const std::string& text, int index) {
  int count = 0;
  for (size_t pos = 0; pos < text.size(); pos += CharSize(text, pos), ++count) {
    if (count == index) {
      int size = CharSize(text, pos);
      char* result = Empty(size);
      std::memcpy(result, text.data() + pos, size);
      return result;
    }
  }
  throw "Out of range string";
}

std::string String::SubStrW(const std::string& text, int start, int count) {
  size_t begin = std::string::npos;
  int index = 0;
  int taken = 0;
  for (size_t pos = 0; pos < text.size(); ++index) {
    size_t next = pos + CharSize(text, pos);
    if (index == start) {
      begin = pos;
    }
    if (begin != std::string::npos && ++taken == count) {
      return text.substr(begin, next - begin);
    }
    pos = next;
  }
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

std::string String::RemoveAt(const std::string& text, int index) {
  int count = 0;
  for (size_t pos = 0; pos < text.size(); pos += CharSize(text, pos), ++count) {
    if (count == index) {
      return text.substr(0, pos) + text.substr(pos + CharSize(text, pos));
    }
  }
  return text;
}

std::vector<std::string> String::Split(const std::string& text, const std::string& separator) {
  if (separator.empty()) {
    throw "Invalid string separator.";
  }
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t found = text.find(separator); found != std::string::npos;
       found = text.find(separator, start)) {
    pieces.push_back(text.substr(start, found - start));
    start = found + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::string String::Replace(const std::string& text, const std::string& from,
                            const std::string& to) {
  std::vector<std::string> pieces = Split(text, from);
  std::string result = pieces[0];
  for (size_t i = 1; i < pieces.size(); ++i) {
    result += to;
    result += pieces[i];
  }
  return result;
}

template <>
double String::ToNumber<double>(const std::string& text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative && text.size() == 1) {
    return -0.0;
  }
  double value = 0;
  int fraction = 0;
  for (size_t pos = negative ? 1 : 0; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c >= '0' && c <= '9') {
      if (fraction == 0) {
        value = value * 10 + (c - '0');
      } else {
        value += fractionShare(c - '0', fraction);
        if (fraction <= FRACTION_DIVISIONS_LIMIT) {
          ++fraction;
        }
      }
    } else if (c == '.') {
      if (fraction != 0) {
        throw "Invalid number parsing";
      }
      fraction = 1;
    }
  }
  return negative ? -value : value;
}

template <>
std::string String::ToStringWithPrecision<int>(int value, int precision) {
  return formatPieces(std::to_string(value), precision);
}

template <>
std::string String::ToStringWithPrecision<double>(double value, int precision) {
  return formatPieces(std::to_string(value), precision);
}

namespace {
bool highlighting = true;
}  // namespace

void String::SetHighlighting(bool on) {
  highlighting = on;
}

std::string String::Highlight(const std::string& text, Color color) {
  if (!highlighting)
    return text;
  int code = static_cast<int>(color);
  const char* sgr = code >= 0 && code <= BrightWhite ? COLOR_CODES[code] : COLOR_CODES[0];
  return "\x1b[" + std::string(sgr) + "m" + text + "\x1b[0m";
}

int String::CharSize(const std::string& text, size_t pos) {
  if (pos >= text.size()) {
    return 0;
  }
  if (highBit(text[pos]) && pos + 1 < text.size() && highBit(text[pos + 1])) {
    return 2;
  }
  return 1;
}
