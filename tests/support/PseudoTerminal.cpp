#include "support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

PseudoTerminal::PseudoTerminal() {
  control = posix_openpt(O_RDWR | O_NOCTTY);
  if (control < 0 || grantpt(control) != 0 || unlockpt(control) != 0)
    throw std::runtime_error("no pseudo-terminal");
  name = ptsname(control);
  fcntl(control, F_SETFL, fcntl(control, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
  RestoreStandardStreams();
  Hang();
}

int PseudoTerminal::OpenSide() const {
  return open(name.c_str(), O_RDWR | O_NOCTTY);
}

void PseudoTerminal::UseAsStandardStreams() {
  std::fflush(stdout);
  int side = OpenSide();
  savedInput = dup(STDIN_FILENO);
  savedOutput = dup(STDOUT_FILENO);
  dup2(side, STDIN_FILENO);
  dup2(side, STDOUT_FILENO);
  close(side);
}

void PseudoTerminal::RestoreStandardStreams() {
  if (savedInput < 0)
    return;
  std::fflush(stdout);
  dup2(savedInput, STDIN_FILENO);
  dup2(savedOutput, STDOUT_FILENO);
  close(savedInput);
  close(savedOutput);
  savedInput = savedOutput = -1;
}

void PseudoTerminal::Type(const std::string& bytes) {
  drain();
  if (write(control, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("typing failed");
}

void PseudoTerminal::SetSize(int columns, int rows) {
  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  if (ioctl(control, TIOCSWINSZ, &size) != 0)
    throw std::runtime_error("terminal size not set");
}

pid_t PseudoTerminal::Start(const std::vector<std::string>& command, const std::string& folder) {
  std::vector<char*> arguments;
  for (const std::string& argument : command)
    arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0)
    throw std::runtime_error("fork failed");
  if (pid > 0)
    return pid;
  setsid();
  int side = OpenSide();
  ioctl(side, TIOCSCTTY, 0);
  dup2(side, STDIN_FILENO);
  dup2(side, STDOUT_FILENO);
  dup2(side, STDERR_FILENO);
  if (side > STDERR_FILENO)
    close(side);
  setenv("TERM", "xterm-256color", 1);
  setenv("LANG", "C.UTF-8", 1);
  unsetenv("LC_ALL");
  if (chdir(folder.c_str()) == 0)
    execv(arguments[0], arguments.data());
  _exit(127);
}

std::string PseudoTerminal::ReadUntilQuiet(int quietMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::string written;
  pollfd output{control, POLLIN, 0};
  while (std::chrono::steady_clock::now() < end && poll(&output, 1, quietMs) > 0) {
    char buffer[4096];
    ssize_t count = read(control, buffer, sizeof buffer);
    if (count <= 0)
      break;
    written.append(buffer, static_cast<size_t>(count));
  }
  return written;
}

void PseudoTerminal::Hang() {
  if (control >= 0)
    close(control);
  control = -1;
}

void PseudoTerminal::drain() const {
  char buffer[4096];
  while (read(control, buffer, sizeof buffer) > 0) {
  }
}
