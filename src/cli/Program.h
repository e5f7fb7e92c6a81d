#pragma once

#include <string>

#include "app/WorkingLock.h"
#include "cli/CommandLine.h"

// One call of the program: the interactive interface without arguments, otherwise the command
// the arguments name. Returns the exit status: 0 success; 1 a failed action or a file that could
// not be loaded; 2 a usage error, a refused value or a missing confirmation; 75 the working
// folder's lock is held by another run (every command that changes the folder or the server
// holds it for its whole run, taken before anything is written).
class Program {
 public:
  static const char* const VERSION;
  static constexpr int USAGE_ERROR = 2;

  // The interactive run in the current folder, exactly as without a command line. It starts
  // only while no other run holds the folder's lock (waiting up to waitSeconds for it), and
  // takes the lock again for each save and action.
  static int Interactive(double waitSeconds = 0);
  static int Main(int argc, const char* const* argv);

 private:
  explicit Program(CommandLineOptions options) : options(std::move(options)) {}

  int run();
  int action();
  int settingsCommand();
  int check();
  // status and history: they read the folder's files and never wait on its lock.
  int readingCommand();
  // False (after a message) when rollback names a version that never succeeded here.
  bool knownRelease();
  int init();
  bool enterDirectory();
  bool confirmed();
  // Takes the folder's lock for command; 0 when taken (or when no lock file can be made there),
  // else the exit status after a line on standard error.
  static int lockFolder(WorkingLock* lock, const std::string& command, double waitSeconds);
  // 0 when the lock was taken (or cannot be had and may be gone without), else the exit status
  // after the message that says why.
  static int refusal(WorkingLock* lock, WorkingLock::Result result);
  static void chooseColours();

  CommandLineOptions options;
};
