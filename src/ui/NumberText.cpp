#include "ui/NumberText.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "util/String.h"

bool NumberText::IsPrecisionSeparatorChar(char c) {
  return c == '.' || c == ',';
}

bool NumberText::ParseInt(const std::string& text, int* result) {
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (char c : text) {
    if (c == '.')
      throw "Invalid integer parsing";
    if (c < '0' || c > '9')
      continue;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit)
      return false;
  }
  bool negative = !text.empty() && text[0] == '-';
  if (!negative && magnitude == limit)
    return false;
  *result = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

bool NumberText::ParseDouble(const std::string& text, double* result) {
  double parsed = String::ToNumber<double>(text);
  if (!std::isfinite(parsed))
    return false;
  *result = parsed;
  return true;
}

int NumberText::CountPoints(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '.'));
}

int NumberText::pointIndex(const std::string& text) {
  size_t point = text.find('.');
  return static_cast<int>(point == std::string::npos ? text.size() : point);
}

int NumberText::FractionLength(const std::string& text) {
  size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string NumberText::digits(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if ((c >= '0' && c <= '9') || c == '.')
      kept += c;
  }
  size_t point = kept.find('.');
  std::string whole = kept.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : kept.substr(point + 1);
  size_t significant = whole.find_first_not_of('0');
  whole.erase(0, significant == std::string::npos ? whole.size() : significant);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  return fraction.empty() ? whole : whole + "." + fraction;
}

bool NumberText::SameDigits(const std::string& typed, const std::string& shown) {
  return digits(typed) == digits(shown);
}

int NumberText::MapCursor(const std::string& typed, int position, const std::string& shown) {
  int mapped = pointIndex(shown) + position - pointIndex(typed);
  return std::clamp(mapped, 0, static_cast<int>(shown.size()));
}
