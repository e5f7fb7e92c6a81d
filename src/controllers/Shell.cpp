#include "controllers/Shell.h"

#include <cstdio>
#include <cstring>

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

std::string Shell::Line(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty())
      line += ' ';
    line += hasControl(word) ? escaped(word) : Word(word);
  }
  return line;
}

std::string Shell::Visible(const std::string& value) {
  return hasControl(value) ? escaped(value) : value;
}

bool Shell::IsOptionLike(const std::string& value) {
  return !value.empty() && value[0] == '-';
}

bool Shell::isSafe(char c) {
  bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return letterOrDigit || (c != '\0' && std::strchr("_./:=@%+,-~", c) != nullptr);
}

bool Shell::hasControl(const std::string& value) {
  for (char c : value) {
    if (isControl(c))
      return true;
  }
  return false;
}

// Bash's $'...' quoting: backslash escapes for the backslash, the single quote and every control
// character; other bytes (UTF-8 included) stay as they are.
std::string Shell::escaped(const std::string& value) {
  std::string result = "$'";
  for (char c : value) {
    if (c == '\\' || c == '\'') {
      result += '\\';
      result += c;
    } else if (isControl(c)) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
      result += code;
    } else {
      result += c;
    }
  }
  return result + "'";
}

bool Shell::isControl(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

std::vector<char*> Shell::Argv(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return argv;
}
