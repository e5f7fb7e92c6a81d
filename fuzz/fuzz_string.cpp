// Feeds arbitrary text to the String operations that take user input: the first byte picks
// the numbers, the rest is cut into a text and a separator at the first NUL byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "util/String.h"

namespace {

void checkCharacters(const std::string& text, int index) {
  int length = String::LengthW(text);
  if (String::SubStrW(text, 0, 0) != text ||
      String::LengthW(String::RemoveAt(text, index)) < (index < length ? length - 2 : length)) {
    std::abort();
  }
  try {
    std::unique_ptr<char[]> character(String::CharAt(text, index));
  } catch (const char*) {
    if (index < length && index >= 0) {
      std::abort();
    }
  }
  String::SubStrW(text, index, index - 3);
}

void checkPieces(const std::string& text, const std::string& separator) {
  try {
    std::string joined = String::Replace(text, separator, separator);
    if (joined != text || String::Split(text, separator).empty()) {
      std::abort();
    }
    String::IndexOfW(text, separator);
    String::IndexOf(text, separator);
  } catch (const char*) {
    if (!separator.empty()) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  int index = static_cast<int8_t>(data[0]);
  std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t cut = input.find('\0');
  std::string text = input.substr(0, cut);
  std::string separator = cut == std::string::npos ? "." : input.substr(cut + 1);
  checkCharacters(text, index);
  checkPieces(text, separator);
  try {
    String::ToNumber<double>(text);
  } catch (const char*) {
  }
  return 0;
}
