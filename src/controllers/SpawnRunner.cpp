#include "controllers/SpawnRunner.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace {
// The status the shell gave a command it could not start: exit status 127.
const int NOT_STARTED = 127 << 8;

// Interrupt and quit ignored while it lives; the child gets back whichever of them was not
// ignored before.
class QuietSignals {
 public:
  QuietSignals() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &interrupt);
    sigaction(SIGQUIT, &ignore, &quit);
    posix_spawnattr_init(&attributes);
    sigset_t reset;
    sigemptyset(&reset);
    if (interrupt.sa_handler != SIG_IGN)
      sigaddset(&reset, SIGINT);
    if (quit.sa_handler != SIG_IGN)
      sigaddset(&reset, SIGQUIT);
    posix_spawnattr_setsigdefault(&attributes, &reset);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  }
  ~QuietSignals() {
    posix_spawnattr_destroy(&attributes);
    sigaction(SIGINT, &interrupt, nullptr);
    sigaction(SIGQUIT, &quit, nullptr);
  }
  QuietSignals(const QuietSignals&) = delete;
  QuietSignals& operator=(const QuietSignals&) = delete;

  const posix_spawnattr_t* Attributes() const { return &attributes; }

 private:
  struct sigaction interrupt {
  }, quit{};
  posix_spawnattr_t attributes;
};

// False when the child cannot be waited for (it was reaped elsewhere).
bool waitFor(pid_t child, int* status) {
  while (waitpid(child, status, 0) < 0) {
    if (errno != EINTR)
      return false;
  }
  return true;
}
}  // namespace

CommandRunner::Result SpawnRunner::Run(const std::vector<std::string>& words) {
  if (words.empty())
    return notStarted("", ENOENT);
  std::vector<char*> argv;
  for (const std::string& word : words)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  QuietSignals signals;
  pid_t child = 0;
  int error = posix_spawnp(&child, argv[0], nullptr, signals.Attributes(), argv.data(), environ);
  if (error != 0)
    return notStarted(words[0], error);
  int status = 0;
  if (!waitFor(child, &status))
    return {-1, "could not be waited for"};
  return {status, Meaning(status)};
}

CommandRunner::Result SpawnRunner::notStarted(const std::string& program, int error) {
  const char* reason = error == ENOENT ? "command not found" : std::strerror(error);
  std::fprintf(stderr, "deployer: %s: %s\n", program.c_str(), reason);
  return {NOT_STARTED, "could not be started"};
}
