#pragma once

#include <ostream>
#include <string>

// "deployer init --update-texts": adds to an existing Resources.res the entries it lacks, taken
// from the shipped defaults of its language, and leaves every text and comment it holds as it is.
// The file is replaced atomically. Its language is the one given, else Russian when its texts
// hold Cyrillic letters, else English.
class UpdateTextsCommand {
 public:
  // directory: the -C folder ("" = current folder); language: "en", "ru" or "" (from the file).
  // Returns 0 (added, or nothing lacked) or 1 (no such file, unreadable, or could not write).
  static int Run(const std::string& directory, const std::string& language, std::ostream& out,
                 std::ostream& err);
};
