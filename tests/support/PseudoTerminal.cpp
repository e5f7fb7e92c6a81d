#include "support/PseudoTerminal.h"

#include <fcntl.h>
#include <unistd.h>

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
