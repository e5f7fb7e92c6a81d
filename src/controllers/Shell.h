#pragma once

#include <string>

// Turns setting values into shell words that the shell passes on untouched.
class Shell {
 public:
  // For a value placed between double quotes: backslash, double quote, dollar sign and backtick
  // are escaped with a backslash; everything else stays as it is.
  static std::string Escape(const std::string& value);
  // The value escaped and wrapped in double quotes.
  static std::string Quoted(const std::string& value);
  // For a value placed without quotes: a value made only of letters, digits and _ . / : = @ % + ,
  // - ~ (but not a leading "~", which the shell expands) is returned unchanged; any other value is
  // wrapped in single quotes (a single quote inside becomes '\'').
  static std::string Word(const std::string& value);
  // True when a program would read the value as an option (it begins with "-").
  static bool IsOptionLike(const std::string& value);

 private:
  static bool isSafe(char c);
};
