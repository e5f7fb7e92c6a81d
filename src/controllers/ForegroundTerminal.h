#pragma once

#include <spawn.h>
#include <sys/types.h>

// The controlling terminal handed to a command for as long as it runs, so that the command is the
// terminal's foreground process group: it reads the terminal freely, Ctrl-C and Ctrl-\ signal it
// alone, and a program that looks whether it is a background job (wget) sees that it is not.
// The terminal is handed over only when this program is in its foreground, and taken back when
// the object goes (with SIGTTOU blocked, as the program is then in the background).
class ForegroundTerminal {
 public:
  // Opens the controlling terminal, when the program has one.
  ForegroundTerminal();
  ~ForegroundTerminal();
  ForegroundTerminal(const ForegroundTerminal&) = delete;
  ForegroundTerminal& operator=(const ForegroundTerminal&) = delete;

  // The command's first act, in its own new group, before its program runs: taking the terminal.
  void AddTo(posix_spawn_file_actions_t* actions) const;
  // True when the command has had the terminal.
  bool Lent() const { return lent; }
  // A command that this program, itself in the background, started is stopped when it reads (or
  // writes to) the terminal: it is given the terminal then, and continued. Another stop (SIGSTOP
  // from an administrator) is left as it is.
  void LendTo(pid_t group, int stopSignal);

 private:
  int terminal = -1;
  bool lent = false;
};
