#include "controllers/SpawnRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
  // Waits until a signal arrives (the child's end among them), or, when fd is open, it can be
  // read, or at most the time given (none: no limit).
  void Wait(int fd, const timespec* most) const {
    pollfd readable{fd, POLLIN, 0};
    ppoll(&readable, fd < 0 ? 0 : 1, most, &mask);
  }

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

// The command's standard error through a pipe: what comes is written on to this program's standard
// error and its end kept. Without a copy to keep, the command writes to standard error itself.
class ErrorCopy {
 public:
  static const size_t KEPT = size_t{64} * 1024;

  explicit ErrorCopy(std::string* copy) : copy(copy) {
    if (copy != nullptr && pipe2(ends, O_CLOEXEC) != 0)
      ends[0] = ends[1] = -1;
    if (copy != nullptr)
      copy->clear();
  }
  ~ErrorCopy() {
    for (int end : ends)
      if (end >= 0)
        close(end);
  }
  ErrorCopy(const ErrorCopy&) = delete;
  ErrorCopy& operator=(const ErrorCopy&) = delete;

  void AddTo(posix_spawn_file_actions_t* actions) const {
    if (ends[1] >= 0)
      posix_spawn_file_actions_adddup2(actions, ends[1], STDERR_FILENO);
  }
  // After the start: only the command writes to the pipe.
  void Started() {
    if (ends[1] < 0)
      return;
    close(ends[1]);
    ends[1] = -1;
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
  }
  int ReadEnd() const { return ends[0]; }
  // Passes on what can be read now; closes the pipe at its end.
  void Relay() {
    char buffer[4096];
    ssize_t count;
    while (ends[0] >= 0 && (count = read(ends[0], buffer, sizeof buffer)) != 0) {
      if (count < 0) {
        if (errno == EINTR)
          continue;
        if (errno == EAGAIN)
          return;
        break;
      }
      writeAll(buffer, static_cast<size_t>(count));
      copy->append(buffer, static_cast<size_t>(count));
      if (copy->size() > KEPT)
        copy->erase(0, copy->size() - KEPT);
    }
    if (ends[0] >= 0)
      close(ends[0]);
    ends[0] = -1;
  }

 private:
  static void writeAll(const char* data, size_t size) {
    while (size > 0) {
      ssize_t written = write(STDERR_FILENO, data, size);
      if (written < 0 && errno == EINTR)
        continue;
      if (written <= 0)
        return;
      data += written;
      size -= static_cast<size_t>(written);
    }
  }

  std::string* copy;
  int ends[2] = {-1, -1};
};

// The time a command may run: SIGTERM to its group at the end, SIGKILL ten seconds later.
class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  Deadline(pid_t group, int seconds) : group(group), limited(seconds > 0) {
    next = Clock::now() + std::chrono::seconds(seconds);
  }
  bool Passed() const { return signalsSent > 0; }
  // Sends the signal that is due; the time until the next one goes to left (nullptr: none).
  const timespec* Check() {
    if (!limited || signalsSent == 2)
      return nullptr;
    Clock::duration rest = next - Clock::now();
    if (rest <= Clock::duration::zero()) {
      kill(-group, signalsSent == 0 ? SIGTERM : SIGKILL);
      ++signalsSent;
      next = Clock::now() + std::chrono::seconds(KILL_AFTER);
      rest = next - Clock::now();
      if (signalsSent == 2)
        return nullptr;
    }
    auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(rest).count();
    left.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
    left.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    return &left;
  }

 private:
  static const int KILL_AFTER = 10;
  pid_t group;
  bool limited;
  int signalsSent = 0;
  Clock::time_point next;
  timespec left{};
};

// Waits for the child, passing a stop request on to its group once. False when the child cannot
// be waited for (it was reaped elsewhere).
bool waitFor(pid_t child, const CommandSignals& signals, int* status, ErrorCopy* errors,
             Deadline* deadline) {
  bool passedOn = false;
  TerminalLoan terminal;
  for (;;) {
    if (!passedOn && StopSignals::StopRequested() != 0) {
      kill(-child, StopSignals::StopRequested());
      passedOn = true;
    }
    const timespec* most = deadline->Check();
    errors->Relay();
    pid_t ended = waitpid(child, status, WNOHANG | WUNTRACED);
    if (ended == child && WIFSTOPPED(*status))
      terminal.LendTo(child, WSTOPSIG(*status));
    else if (ended == child)
      return true;
    else if (ended < 0 && errno != EINTR)
      return false;
    else if (ended == 0)
      signals.Wait(errors->ReadEnd(), most);
  }
}
}  // namespace

CommandRunner::Result SpawnRunner::Run(const std::vector<std::string>& words) {
  return run(words, nullptr);
}

CommandRunner::Result SpawnRunner::RunKeepingErrors(const std::vector<std::string>& words,
                                                    std::string* errors) {
  return run(words, errors);
}

CommandRunner::Result SpawnRunner::run(const std::vector<std::string>& words,
                                       std::string* errors) const {
  if (words.empty())
    return notStarted("", ENOENT);
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (const std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  CommandSignals signals;
  ErrorCopy errorCopy(errors);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  errorCopy.AddTo(&actions);
  pid_t child = 0;
  int error = posix_spawnp(&child, argv[0], &actions, signals.Attributes(), argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  errorCopy.Started();
  if (error != 0)
    return notStarted(words[0], error);
  int status = 0;
  Deadline deadline(child, timeoutSeconds);
  bool waited = waitFor(child, signals, &status, &errorCopy, &deadline);
  errorCopy.Relay();
  if (!waited)
    return {-1, "could not be waited for", deadline.Passed()};
  if (deadline.Passed())
    return {status, "stopped after " + std::to_string(timeoutSeconds) + " seconds", true};
  return {status, Meaning(status)};
}

CommandRunner::Result SpawnRunner::notStarted(const std::string& program, int error) {
  const char* reason = error == ENOENT ? "command not found" : std::strerror(error);
  std::fprintf(stderr, "deployer: %s: %s\n", program.c_str(), reason);
  return {NOT_STARTED, "could not be started"};
}
