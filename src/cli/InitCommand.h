#pragma once

#include <ostream>
#include <string>

// "deployer init": makes a working folder from the shipped defaults, the settings file and the
// resource file of one language, without ever replacing a file that is there.
class InitCommand {
 public:
  // directory: the -C folder ("" = current folder); language: "en", "ru" or "" (from the
  // environment). Returns 0, 2 (refused: file exists, bad language) or 1 (could not write).
  static int Run(const std::string& directory, const std::string& language, std::ostream& out,
                 std::ostream& err);
  // The folder holding the shipped defaults ("" when none is found).
  static std::string DefaultsFolder();
};
