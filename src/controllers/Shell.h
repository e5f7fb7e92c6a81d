#pragma once

#include <string>
#include <vector>

// Turns values into shell words that the shell passes on untouched.
class Shell {
 public:
  // For a value placed without quotes: a value made only of letters, digits and _ . / : = @ % + ,
  // - ~ (but not a leading "~", which the shell expands) is returned unchanged; any other value is
  // wrapped in single quotes (a single quote inside becomes '\'').
  static std::string Word(const std::string& value);
  // The words as one bash command line that runs exactly them: each written as Word writes it,
  // except that a word holding a control character (a line end, a tab) is written as $'...' with
  // escapes, so the line stays on one line.
  static std::string Line(const std::vector<std::string>& words);
  // The value as it stands, unless it holds a control character: then written as Line writes
  // such a word ($'...' with escapes), so that printing it moves no cursor and starts no line.
  static std::string Visible(const std::string& value);
  // The words as the null-terminated argument vector that exec and posix_spawn take; it points
  // into words, which must outlive it.
  static std::vector<char*> Argv(const std::vector<std::string>& words);
  // True when a program would read the value as an option (it begins with "-").
  static bool IsOptionLike(const std::string& value);

 private:
  static bool isSafe(char c);
  static bool isControl(char c);
  static bool hasControl(const std::string& value);
  static std::string escaped(const std::string& value);
};
