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
  // What to do about a file that is not there, as a sentence beginning with a space: "deployer
  // init" makes a folder with neither of the two files; beside the other file the shipped default
  // has to be copied by hand. "" when the file is there.
  static std::string MissingFileHint(const std::string& file, const std::string& other);
};
