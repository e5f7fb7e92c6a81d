#include "controllers/SpawnRunner.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/StopSignals.h"

namespace {
// The status the shell gave a command it could not start: exit status 127.
const int NOT_STARTED = 127 << 8;

const int STOP_SIGNALS[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
const int SIGNAL_COUNT = sizeof STOP_SIGNALS / sizeof STOP_SIGNALS[0];

extern "C" void onChildEnded(int /*signal*/) {}

// While it lives: the stop signals that were not ignored are caught, and a child's end wakes the
// wait; all of them are blocked except inside the wait itself, so none slips in between a look
// at the record and the wait. The child starts in a group of its own with the mask and the
// default actions of the signals as they were.
class CommandSignals {
 public:
  CommandSignals() {
    sigset_t blocked;
    sigset_t reset;
    sigemptyset(&blocked);
    sigemptyset(&reset);
    sigaddset(&blocked, SIGCHLD);
    struct sigaction catchIt {};
    catchIt.sa_handler = StopSignals::Handle;
    sigemptyset(&catchIt.sa_mask);
    for (int i = 0; i < SIGNAL_COUNT; ++i) {
      sigaction(STOP_SIGNALS[i], nullptr, &previous[i]);
      if (previous[i].sa_handler == SIG_IGN)
        continue;
      sigaction(STOP_SIGNALS[i], &catchIt, nullptr);
      sigaddset(&blocked, STOP_SIGNALS[i]);
      sigaddset(&reset, STOP_SIGNALS[i]);
    }
    struct sigaction wake {};
    wake.sa_handler = onChildEnded;
    sigemptyset(&wake.sa_mask);
    sigaction(SIGCHLD, &wake, &previousChild);
    sigprocmask(SIG_BLOCK, &blocked, &mask);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigdefault(&attributes, &reset);
    posix_spawnattr_setsigmask(&attributes, &mask);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  }
  ~CommandSignals() {
    posix_spawnattr_destroy(&attributes);
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    sigaction(SIGCHLD, &previousChild, nullptr);
    for (int i = 0; i < SIGNAL_COUNT; ++i)
      sigaction(STOP_SIGNALS[i], &previous[i], nullptr);
  }
  CommandSignals(const CommandSignals&) = delete;
  CommandSignals& operator=(const CommandSignals&) = delete;

  const posix_spawnattr_t* Attributes() const { return &attributes; }
  // Waits until a signal arrives (the child's end among them).
  void Wait() const { ppoll(nullptr, 0, nullptr, &mask); }

 private:
  struct sigaction previous[SIGNAL_COUNT] {};
  struct sigaction previousChild {};
  sigset_t mask{};
  posix_spawnattr_t attributes{};
};

// A command of a background group that reads from (or writes to) the terminal is stopped by it.
// It is then given the terminal, and continued; the program takes the terminal back at its end.
class TerminalLoan {
 public:
  ~TerminalLoan() {
    if (!lent)
      return;
    sigset_t quiet;
    sigset_t before;
    sigemptyset(&quiet);
    sigaddset(&quiet, SIGTTOU);  // a background group may take the terminal back unstopped
    sigprocmask(SIG_BLOCK, &quiet, &before);
    tcsetpgrp(STDIN_FILENO, getpgrp());
    sigprocmask(SIG_SETMASK, &before, nullptr);
  }
  // Another stop (SIGSTOP from an administrator) is left as it is.
  void LendTo(pid_t group, int stopSignal) {
    if (stopSignal != SIGTTIN && stopSignal != SIGTTOU)
      return;
    if (isatty(STDIN_FILENO) && tcsetpgrp(STDIN_FILENO, group) == 0)
      lent = true;
    kill(-group, SIGCONT);
  }

 private:
  bool lent = false;
};

// Waits for the child, passing a stop request on to its group once. False when the child cannot
// be waited for (it was reaped elsewhere).
bool waitFor(pid_t child, const CommandSignals& signals, int* status) {
  bool passedOn = false;
  TerminalLoan terminal;
  for (;;) {
    if (!passedOn && StopSignals::StopRequested() != 0) {
      kill(-child, StopSignals::StopRequested());
      passedOn = true;
    }
    pid_t ended = waitpid(child, status, WNOHANG | WUNTRACED);
    if (ended == child && WIFSTOPPED(*status))
      terminal.LendTo(child, WSTOPSIG(*status));
    else if (ended == child)
      return true;
    else if (ended < 0 && errno != EINTR)
      return false;
    else if (ended == 0)
      signals.Wait();
  }
}
}  // namespace

CommandRunner::Result SpawnRunner::Run(const std::vector<std::string>& words) {
  if (words.empty())
    return notStarted("", ENOENT);
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  CommandSignals signals;
  pid_t child = 0;
  int error = posix_spawnp(&child, argv[0], nullptr, signals.Attributes(), argv.data(), environ);
  if (error != 0)
    return notStarted(words[0], error);
  int status = 0;
  if (!waitFor(child, signals, &status))
    return {-1, "could not be waited for"};
  return {status, Meaning(status)};
}

CommandRunner::Result SpawnRunner::notStarted(const std::string& program, int error) {
  const char* reason = error == ENOENT ? "command not found" : std::strerror(error);
  std::fprintf(stderr, "deployer: %s: %s\n", program.c_str(), reason);
  return {NOT_STARTED, "could not be started"};
}
