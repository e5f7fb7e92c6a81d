#pragma once

#include <csignal>

// The signals that ask the program to stop (SIGTERM, SIGHUP, SIGINT, SIGQUIT), caught so that
// the program can end cleanly instead of dying mid-step. The handler only records the signal;
// the input loop and the command runner look at the record and act. The handlers are installed
// without SA_RESTART, so a wait in poll returns early with EINTR.
//
// A hang-up (the terminal is gone) is recorded apart from the others: it ends the interface, but
// an action that has begun goes on to its end.
class StopSignals {
 public:
  // Installs the handler for the four signals.
  static void Catch();
  // The handler itself, for code that installs it for a while (it records sig).
  static void Handle(int sig);
  // The last of the four signals caught, 0 when none.
  static int Received();
  // The last SIGTERM, SIGINT or SIGQUIT caught, 0 when none.
  static int StopRequested();
  // True once a SIGHUP was caught.
  static bool HungUp();
  // The four signals as a set, for a wait that blocks them until it begins (ppoll), so that
  // none arrives unseen between a look at Received and the wait.
  static sigset_t Set();
  // Forgets every signal caught (for tests).
  static void Reset();
};
