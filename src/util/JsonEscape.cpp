#include "util/JsonEscape.h"

#include <string_view>

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigit(char c) {
  if (isDigit(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// The code unit of "\uXXXX" starting at pos, or -1 when the text holds no such escape there.
long codeUnit(const std::string& text, size_t pos) {
  if (pos + 6 > text.size() || text[pos] != '\\' || text[pos + 1] != 'u') {
    return -1;
  }
  long unit = 0;
  for (size_t i = pos + 2; i < pos + 6; ++i) {
    int digit = hexDigit(text[i]);
    if (digit < 0) {
      return -1;
    }
    unit = unit * 16 + digit;
  }
  return unit;
}

void appendUtf8(std::string* out, long codePoint) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out += static_cast<char>(0xC0 | (codePoint >> 6));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    *out += static_cast<char>(0xE0 | (codePoint >> 12));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (codePoint >> 18));
    *out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Decodes "\uXXXX" (or a surrogate pair of two) at pos into out; returns the number of bytes
// consumed, or 0 when there is nothing to decode. A lone surrogate is not decoded, so its escape
// stays in the text as it stands.
int decodeUnicode(const std::string& text, size_t pos, std::string* out) {
  long unit = codeUnit(text, pos);
  if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) {
    return 0;
  }
  if (unit < 0xD800 || unit > 0xDBFF) {
    appendUtf8(out, unit);
    return 6;
  }
  long low = codeUnit(text, pos + 6);
  if (low < 0xDC00 || low > 0xDFFF) {
    return 0;
  }
  appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
  return 12;
}

// Characters written as a backslash and a letter, and those letters in the same order.
constexpr std::string_view ESCAPED = "\"\\\b\f\n\r\t";
constexpr std::string_view ESCAPE_LETTERS = "\"\\bfnrt";

// The character that a one-letter escape stands for, or 0 for a letter that is no escape.
char simpleEscape(char c) {
  size_t found = ESCAPE_LETTERS.find(c);
  if (found != std::string_view::npos) {
    return ESCAPED[found];
  }
  return c == '/' ? '/' : 0;
}

}  // namespace

int JsonEscape::Read(const std::string& text, int index, std::string* value) {
  if (text[index] == '\\' && index + 1 < static_cast<int>(text.size())) {
    char escape = simpleEscape(text[index + 1]);
    if (escape != 0) {
      *value += escape;
      return 2;
    }
    int consumed = decodeUnicode(text, index, value);
    if (consumed > 0) {
      return consumed;
    }
  }
  *value += text[index];
  return 1;
}

void JsonEscape::AppendQuoted(std::string* out, const std::string& text) {
  static const char HEX[] = "0123456789abcdef";
  *out += '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    size_t escape = ESCAPED.find(c);
    if (escape != std::string_view::npos) {
      *out += '\\';
      *out += ESCAPE_LETTERS[escape];
    } else if (byte < 0x20) {
      *out += "\\u00";
      *out += HEX[byte >> 4];
      *out += HEX[byte & 0xF];
    } else {
      *out += c;
    }
  }
  *out += '"';
}
