#include "controllers/ForegroundTerminal.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

ForegroundTerminal::ForegroundTerminal() {
  terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  lent = terminal >= 0 && tcgetpgrp(terminal) == getpgrp();
}

ForegroundTerminal::~ForegroundTerminal() {
  if (lent) {
    sigset_t quiet;
    sigset_t before;
    sigemptyset(&quiet);
    sigaddset(&quiet, SIGTTOU);  // a background group may take the terminal back unstopped
    sigprocmask(SIG_BLOCK, &quiet, &before);
    tcsetpgrp(terminal, getpgrp());
    sigprocmask(SIG_SETMASK, &before, nullptr);
  }
  if (terminal >= 0)
    close(terminal);
}

// The new process does it itself, with every signal blocked, so that the command never runs a
// moment in the background (wget would take itself for a background job and write wget-log).
void ForegroundTerminal::AddTo(posix_spawn_file_actions_t* actions) const {
  if (lent)
    posix_spawn_file_actions_addtcsetpgrp_np(actions, terminal);
}

void ForegroundTerminal::LendTo(pid_t group, int stopSignal) {
  if (stopSignal != SIGTTIN && stopSignal != SIGTTOU)
    return;
  if (terminal >= 0 && tcsetpgrp(terminal, group) == 0)
    lent = true;
  kill(-group, SIGCONT);
}
