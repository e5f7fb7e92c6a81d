#pragma once

#include <string>
#include <vector>

// Runs one command given as its words: the program, found on PATH, and its arguments, each
// handed over as it is, with no shell in between.
class CommandRunner {
 public:
  struct Result {
    // The wait status as system() would have returned it: 0 for success, exit status N as N * 256,
    // 32512 (the shell's exit status 127) for a program that could not be started.
    int status;
    // What the status means: "exit status 4", "killed by signal 9", "could not be started".
    std::string meaning;
    // True when the command ran longer than the runner's time-out and was stopped.
    bool timedOut = false;
    // The last 64 KiB (at least) of what the command wrote to its standard output and error, which
    // still reached this program's as it came; empty from a runner that runs nothing.
    std::string output{};
  };

  CommandRunner() = default;
  virtual ~CommandRunner() = default;
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  virtual Result Run(const std::vector<std::string>& words) = 0;

  // The meaning of a wait status of a program that was started.
  static std::string Meaning(int status);
  // The last count lines of output that hold more than blanks, as a terminal shows them: of a
  // line redrawn after carriage returns (a progress bar) its last state, and every other control
  // character as "?".
  static std::vector<std::string> LastLines(const std::string& output, size_t count);
};
