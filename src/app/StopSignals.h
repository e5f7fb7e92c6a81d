#pragma once

// The signals that ask the program to stop (SIGTERM, SIGHUP, SIGINT, SIGQUIT), caught so that
// the program can end cleanly instead of dying mid-step. The handler only records the number of
// the last one; the input loop and the command runner look at it and act. The handlers are
// installed without SA_RESTART, so a wait in poll or waitpid returns early with EINTR.
class StopSignals {
 public:
  // Installs the handlers for the four signals.
  static void Catch();
  // Puts the default actions back.
  static void Release();
  // The last signal caught, 0 when none.
  static int Received();
  // True once a SIGHUP was caught: the terminal is gone.
  static bool HungUp();
  // Forgets what was caught (for tests).
  static void Reset();
  // Records a signal as the handler does (for tests).
  static void Record(int signal);
};
