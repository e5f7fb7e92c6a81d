#include "app/Version.h"

#include <cstdio>
#include <vector>

#include "util/String.h"

namespace {

// Constant-initialised, so Versions::Core_24_2 can be parsed during static initialisation.
constexpr const char* SEPARATOR = ".";

bool isDigits(const std::string& piece) {
  if (piece.empty())
    return false;
  for (char c : piece) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

// A piece of digits whose value fits an unsigned 32-bit part.
bool isPart(const std::string& piece) {
  if (!isDigits(piece))
    return false;
  uint64_t value = 0;
  for (char c : piece) {
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX)
      return false;
  }
  return true;
}

std::string partText(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%u", value);
  return buffer;
}

}  // namespace

Version::Version() = default;

Version::Version(Version* other) {
  for (int i = 0; i < 4; i++)
    parts[i] = other->parts[i];
}

Version::Version(std::string text) {
  std::vector<std::string> pieces = String::Split(text, SEPARATOR);
  if (pieces.size() < 2 || pieces.size() > 4)
    throw "Invalid version string";
  for (size_t i = 0; i < pieces.size(); i++)
    parts[i] = parse(pieces[i]);
}

uint32_t Version::parse(std::string text) {
  if (!isPart(text))
    throw "Invalid version string part";
  uint32_t value = 0;
  for (char c : text)
    value = value * 10 + static_cast<uint32_t>(c - '0');
  return value;
}

std::string Version::ToString() {
  std::string text = partText(parts[0]) + SEPARATOR + partText(parts[1]);
  if (parts[2] != 0 || parts[3] != 0)
    text += SEPARATOR + partText(parts[2]);
  if (parts[3] != 0)
    text += SEPARATOR + partText(parts[3]);
  return text;
}

int Version::compare(Version* other, int depth) {
  int count = (depth >= 1 && depth <= 3) ? depth : 4;
  for (int i = 0; i < count; i++) {
    if (parts[i] != other->parts[i])
      return parts[i] < other->parts[i] ? -1 : 1;
  }
  return 0;
}

bool Version::Equals(Version* other, int depth) {
  return compare(other, depth) == 0;
}

bool Version::Greater(Version* other, int depth) {
  return compare(other, depth) > 0;
}

bool Version::Less(Version* other, int depth) {
  return compare(other, depth) < 0;
}

bool Version::Valid(std::string text) {
  std::vector<std::string> pieces = String::Split(text, SEPARATOR);
  if (pieces.size() < 2 || pieces.size() > 4)
    return false;
  for (const std::string& piece : pieces) {
    if (!isPart(piece))
      return false;
  }
  return true;
}

std::string Version::Reconfigure(std::string text) {
  std::vector<std::string> pieces = String::Split(text, SEPARATOR);
  std::string result;
  size_t kept = 0;
  while (kept < pieces.size() && isPart(pieces[kept])) {
    result += (kept == 0 ? "" : SEPARATOR) + pieces[kept];
    kept++;
  }
  if (kept == 0) {
    result = "1";
    kept = 1;
  }
  for (; kept < 4; kept++)
    result += std::string(SEPARATOR) + "0";
  return result;
}

uint32_t Version::Part(int index) const {
  return parts[index];
}
