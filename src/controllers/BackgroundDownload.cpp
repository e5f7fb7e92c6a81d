#include "controllers/BackgroundDownload.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "controllers/Shell.h"

BackgroundDownload::BackgroundDownload(const std::vector<std::string>& command, std::string file,
                                       std::string outputFile)
    : file(std::move(file)), outputFile(std::move(outputFile)) {
  if (command.empty())
    return;
  std::vector<char*> argv = Shell::Argv(command);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, this->outputFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ) == 0)
    pid = child;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
}

BackgroundDownload::~BackgroundDownload() {
  Stop();
  std::error_code error;
  std::filesystem::remove(outputFile, error);
}

int BackgroundDownload::Wait(const std::function<bool()>& stopRequested) {
  const auto step = std::chrono::milliseconds(20);
  while (Started() && !ended) {
    if (stopRequested()) {
      Stop();
      return -1;
    }
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR))
      ended = true;
    else
      std::this_thread::sleep_for(step);
  }
  return Started() ? status : -1;
}

void BackgroundDownload::Stop() {
  if (!Started() || ended || waitpid(pid, &status, WNOHANG) == pid) {
    ended = Started();
    return;
  }
  kill(-pid, SIGKILL);
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  ended = true;
  status = -1;
  std::error_code error;
  std::filesystem::remove(file, error);
}

std::string BackgroundDownload::TakeOutput() {
  std::ostringstream text;
  {
    std::ifstream in(outputFile);
    text << in.rdbuf();
  }
  std::error_code error;
  std::filesystem::remove(outputFile, error);
  return text.str();
}
