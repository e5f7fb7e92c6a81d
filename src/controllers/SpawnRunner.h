#pragma once

#include "controllers/CommandRunner.h"

// Starts the program as a child process with the standard input, output and error of this one,
// and waits for it to end. Like system(), it ignores interrupt and quit while it waits, so a
// Ctrl+C ends the command and not this program.
class SpawnRunner : public CommandRunner {
 public:
  // A program that cannot be started is reported on standard error as
  // "deployer: <program>: command not found" (or the reason) and gives the status 32512.
  Result Run(const std::vector<std::string>& words) override;

 private:
  static Result notStarted(const std::string& program, int error);
};
