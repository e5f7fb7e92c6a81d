#pragma once

#include <string>

// The text side of a number field: reading typed text back into a number, and comparing and
// mapping positions between the typed text and the formatted one.
class NumberText {
 public:
  // "." and ",".
  static bool IsPrecisionSeparatorChar(char c);
  // Leading zeros and characters other than digits are skipped and a leading "-" makes the
  // result negative. False, leaving result alone, when the number does not fit an int. A point
  // throws "Invalid integer parsing".
  static bool ParseInt(const std::string& text, int* result);
  // ToNumber<double>; false, leaving result alone, when the number is not finite.
  static bool ParseDouble(const std::string& text, double* result);
  static int CountPoints(const std::string& text);
  // The count of characters after the point; 0 without a point.
  static int FractionLength(const std::string& text);
  // Whether both texts hold the same number digit for digit: signs and other characters,
  // leading zeros of the whole part and trailing zeros of the fraction aside.
  static bool SameDigits(const std::string& typed, const std::string& shown);
  // The position in shown that stands where position stands in typed, counted from the point
  // (from the end when there is none), kept inside shown.
  static int MapCursor(const std::string& typed, int position, const std::string& shown);

 private:
  static int pointIndex(const std::string& text);
  static std::string digits(const std::string& text);
};
