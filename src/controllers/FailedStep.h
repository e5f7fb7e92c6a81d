#pragma once

#include <string>

// The step that ended an action, kept for the closing line and for callers that look at it: the
// step's name ("the web server download"; empty when the action names none), the program it ran
// and that program's wait status (as system() reports it), or instead a reason of its own.
struct FailedStep {
  std::string step;
  std::string program;
  int status = 0;
  std::string reason;   // set when the step failed after its command, e.g. on a checksum
  std::string command;  // the whole command line that failed, for the journal

  // True once a step failed.
  bool Failed() const { return !program.empty() || !reason.empty(); }
  // " at the web server download: wget exit status 8, the server answered with an error";
  // ": bash exit status 1" without a step name; "" before a failure.
  std::string Description() const;
  // What the wait status of program means: the documented meaning of a wget exit status, or
  // "exit status N", "killed by signal N".
  static std::string Meaning(const std::string& program, int status);
};
