#include "app/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t lastSignal = 0;
volatile std::sig_atomic_t hungUp = 0;

const int SIGNALS[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

extern "C" void onStopSignal(int signal) {
  lastSignal = signal;
  if (signal == SIGHUP)
    hungUp = 1;
}

void install(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : SIGNALS)
    sigaction(signal, &action, nullptr);
}

}  // namespace

void StopSignals::Catch() {
  install(onStopSignal);
}

void StopSignals::Release() {
  install(SIG_DFL);
}

int StopSignals::Received() {
  return lastSignal;
}

bool StopSignals::HungUp() {
  return hungUp != 0;
}

void StopSignals::Reset() {
  lastSignal = 0;
  hungUp = 0;
}

void StopSignals::Record(int signal) {
  onStopSignal(signal);
}
