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
  };

  CommandRunner() = default;
  virtual ~CommandRunner() = default;
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  virtual Result Run(const std::vector<std::string>& words) = 0;
  // Runs the command as Run does, and keeps in errors the last 64 KiB of what it wrote to its
  // standard error, which still reaches this program's standard error as it comes. A runner
  // that runs nothing keeps nothing.
  virtual Result RunKeepingErrors(const std::vector<std::string>& words, std::string* errors) {
    errors->clear();
    return Run(words);
  }

  // The meaning of a wait status of a program that was started.
  static std::string Meaning(int status);
};
