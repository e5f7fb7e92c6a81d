#pragma once

#include "controllers/CommandRunner.h"

// Starts the program as a child process with the standard input of this one, and waits for it to
// end. Its standard output and error reach this program's as they come through relays
// (OutputRelay), and the result keeps their end.
//
// The command runs in a process group of its own, and, when this program is in the foreground of
// its controlling terminal, as the terminal's foreground group until it ends (ForegroundTerminal):
// Ctrl-C and Ctrl-\ then reach the command alone, and a command that they end stops the action
// as the signal sent to this program would (it is recorded in StopSignals). The command starts
// with SIGHUP ignored, so that a hang-up of the terminal (a dropped connection) lets it run to
// its end. While it runs, SIGINT, SIGTERM and SIGQUIT sent to this program are recorded and passed
// on to the command's group; a SIGHUP is recorded only. Signals that were ignored when the program
// started stay ignored, by this program and by the command, as with system().
//
// With a time-out, a command still running after that many seconds gets SIGTERM, and SIGKILL ten
// seconds later (both sent to its group); its result then says that it timed out.
class SpawnRunner : public CommandRunner {
 public:
  // timeoutSeconds 0: commands run as long as they take.
  explicit SpawnRunner(int timeoutSeconds = 0) : timeoutSeconds(timeoutSeconds) {}

  // A program that cannot be started is reported on standard error as
  // "deployer: <program>: command not found" (or the reason) and gives the status 32512.
  Result Run(const std::vector<std::string>& words) override;

 private:
  static Result notStarted(const std::string& program, int error);

  int timeoutSeconds;
};
