#include "app/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t lastSignal = 0;
volatile std::sig_atomic_t stopSignal = 0;
volatile std::sig_atomic_t hungUp = 0;

const int SIGNALS[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

}  // namespace

void StopSignals::Handle(int sig) {
  lastSignal = sig;
  if (sig == SIGHUP)
    hungUp = 1;
  else
    stopSignal = sig;
}

void StopSignals::Catch() {
  struct sigaction action {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  for (int sig : SIGNALS)
    sigaction(sig, &action, nullptr);
}

sigset_t StopSignals::Set() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : SIGNALS)
    sigaddset(&set, sig);
  return set;
}

int StopSignals::Received() {
  return lastSignal;
}

int StopSignals::StopRequested() {
  return stopSignal;
}

bool StopSignals::HungUp() {
  return hungUp != 0;
}

void StopSignals::Reset() {
  lastSignal = 0;
  stopSignal = 0;
  hungUp = 0;
}
