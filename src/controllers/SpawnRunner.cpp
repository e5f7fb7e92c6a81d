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
#include "controllers/ForegroundTerminal.h"
#include "controllers/OutputRelay.h"
#include "controllers/Shell.h"

namespace {
// The status the shell gave a command it could not start: exit status 127.
const int NOT_STARTED = 127 << 8;

const int STOP_SIGNALS[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
const int SIGNAL_COUNT = sizeof STOP_SIGNALS / sizeof STOP_SIGNALS[0];

extern "C" void onChildEnded(int /*signal*/) {}

// While it lives: the stop signals that were not ignored are caught, and a child's end wakes the
// wait; all of them are blocked except inside the wait itself, so none slips in between a look
// at the record and the wait, and so is SIGTTOU, so that the program may relay the command's
// output and take the terminal back from the background. The child starts in a group of its own
// with the mask and the default actions of the signals as they were, but SIGHUP ignored.
class CommandSignals {
 public:
  CommandSignals() {
    sigset_t blocked;
    sigset_t reset;
    sigemptyset(&blocked);
    sigemptyset(&reset);
    sigaddset(&blocked, SIGCHLD);
    sigaddset(&blocked, SIGTTOU);
    struct sigaction catchIt {};
    catchIt.sa_handler = StopSignals::Handle;
    sigemptyset(&catchIt.sa_mask);
    for (int i = 0; i < SIGNAL_COUNT; ++i) {
      sigaction(STOP_SIGNALS[i], nullptr, &previous[i]);
      if (previous[i].sa_handler == SIG_IGN)
        continue;
      sigaction(STOP_SIGNALS[i], &catchIt, nullptr);
      sigaddset(&blocked, STOP_SIGNALS[i]);
      if (STOP_SIGNALS[i] != SIGHUP)
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

  // Starts the program; returns 0 or the error. A caught SIGHUP is ignored for that moment (it
  // is blocked; one that comes then is lost), as only an ignored signal stays so in the child.
  int Spawn(pid_t* child, char* const* argv, const posix_spawn_file_actions_t* actions) const {
    struct sigaction hangUp {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGHUP, &ignore, &hangUp);
    int error = posix_spawnp(child, argv[0], actions, &attributes, argv, environ);
    sigaction(SIGHUP, &hangUp, nullptr);
    return error;
  }
  // Waits until a signal arrives (the child's end among them), or one of fds can be read, or at
  // most the time given (none: no limit).
  void Wait(pollfd* fds, nfds_t count, const timespec* most) const {
    ppoll(fds, count, most, &mask);
  }

 private:
  struct sigaction previous[SIGNAL_COUNT] {};
  struct sigaction previousChild {};
  sigset_t mask{};
  posix_spawnattr_t attributes{};
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
  static constexpr int KILL_AFTER = 10;
  pid_t group;
  bool limited;
  int signalsSent = 0;
  Clock::time_point next;
  timespec left{};
};

// Waits for the child, passing a stop request on to its group once. False when the child cannot
// be waited for (it was reaped elsewhere).
bool waitFor(pid_t child, const CommandSignals& signals, int* status, OutputRelay* output,
             ForegroundTerminal* terminal, Deadline* deadline) {
  bool passedOn = false;
  for (;;) {
    if (!passedOn && StopSignals::StopRequested() != 0) {
      kill(-child, StopSignals::StopRequested());
      passedOn = true;
    }
    const timespec* most = deadline->Check();
    output->Relay();
    pid_t ended = waitpid(child, status, WNOHANG | WUNTRACED);
    if (ended == child && WIFSTOPPED(*status))
      terminal->LendTo(child, WSTOPSIG(*status));
    else if (ended == child)
      return true;
    else if (ended < 0 && errno != EINTR)
      return false;
    else if (ended == 0) {
      pollfd fds[2];
      signals.Wait(fds, output->Watched(fds), most);
    }
  }
}

// Ctrl-C and Ctrl-\ at the terminal signal the command in its foreground alone. A command that
// such a signal ended (killed by it, or exiting with 128 + its number as a shell does) stops the
// action as the signal sent to this program would.
void noteKeyboardStop(int status) {
  for (int sig : {SIGINT, SIGQUIT}) {
    bool ended = (WIFSIGNALED(status) && WTERMSIG(status) == sig) ||
                 (WIFEXITED(status) && WEXITSTATUS(status) == 128 + sig);
    if (ended && StopSignals::StopRequested() == 0)
      StopSignals::Handle(sig);
  }
}
}  // namespace

CommandRunner::Result SpawnRunner::Run(const std::vector<std::string>& words) {
  if (words.empty())
    return notStarted("", ENOENT);
  std::vector<char*> argv = Shell::Argv(words);
  CommandSignals signals;
  ForegroundTerminal terminal;
  OutputRelay output;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  terminal.AddTo(&actions);
  output.AddTo(&actions);
  pid_t child = 0;
  int error = signals.Spawn(&child, argv.data(), &actions);
  posix_spawn_file_actions_destroy(&actions);
  output.Started();
  if (error != 0)
    return notStarted(words[0], error);
  int status = 0;
  Deadline deadline(child, timeoutSeconds);
  bool waited = waitFor(child, signals, &status, &output, &terminal, &deadline);
  output.Relay();
  if (!waited)
    return {-1, "could not be waited for", deadline.Passed(), output.Kept()};
  if (terminal.Lent())
    noteKeyboardStop(status);
  if (deadline.Passed())
    return {status, "stopped after " + std::to_string(timeoutSeconds) + " seconds", true,
            output.Kept()};
  return {status, Meaning(status), false, output.Kept()};
}

CommandRunner::Result SpawnRunner::notStarted(const std::string& program, int error) {
  const char* reason = error == ENOENT ? "command not found" : std::strerror(error);
  std::fprintf(stderr, "deployer: %s: %s\n", program.c_str(), reason);
  return {NOT_STARTED, "could not be started"};
}
