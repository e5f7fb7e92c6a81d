#pragma once

#include <string>

#include "cli/CommandLine.h"

// One call of the program: the interactive interface without arguments, otherwise the command
// the arguments name. Returns the exit status: 0 success; 1 a failed action or a file that could
// not be loaded; 2 a usage error, a refused value or a missing confirmation.
class Program {
 public:
  static const char* const VERSION;
  static const int USAGE_ERROR = 2;

  // The interactive run in the current folder, exactly as without a command line.
  static int Interactive();
  static int Main(int argc, const char* const* argv);

 private:
  explicit Program(CommandLineOptions options) : options(std::move(options)) {}

  int run();
  int action();
  int settingsCommand();
  // status and history: they read the folder's files and never wait on its lock.
  int readingCommand();
  // False (after a message) when rollback names a version that never succeeded here.
  bool knownRelease();
  int init();
  bool enterDirectory();
  bool confirmed();
  static void chooseColours();

  CommandLineOptions options;
};
