#include "controllers/Shell.h"

#include <cstring>

std::string Shell::Escape(const std::string& value) {
  std::string result;
  result.reserve(value.size());
  for (char c : value) {
    if (c == '\\' || c == '"' || c == '$' || c == '`')
      result += '\\';
    result += c;
  }
  return result;
}

std::string Shell::Quoted(const std::string& value) {
  return "\"" + Escape(value) + "\"";
}

std::string Shell::Word(const std::string& value) {
  // A "~" at the start of a word is expanded to a home folder.
  bool safe = !value.empty() && value[0] != '~';
  for (char c : value)
    safe = safe && isSafe(c);
  if (safe)
    return value;
  std::string result = "'";
  for (char c : value) {
    if (c == '\'')
      result += "'\\''";
    else
      result += c;
  }
  return result + "'";
}

bool Shell::IsOptionLike(const std::string& value) {
  return !value.empty() && value[0] == '-';
}

bool Shell::isSafe(char c) {
  bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return letterOrDigit || (c != '\0' && std::strchr("_./:=@%+,-~", c) != nullptr);
}
