#pragma once

#include <curses.h>
#include <csignal>

#include "forms/Terminal.h"

// The process's own terminal: standard input and output in curses screen mode, with the keypad,
// no echo, no cursor, character-at-a-time input, no flow control (Ctrl-S, Ctrl-Q) and every
// mouse event. Escape is reported only when it came alone.
class CursesTerminal : public Terminal {
 public:
  // Milliseconds a lone Escape waits for the rest of a key sequence, unless ESCDELAY is set.
  static constexpr int ESCAPE_DELAY = 25;

  CursesTerminal() = default;
  ~CursesTerminal() override;

  void Open() override;
  void Close() override;
  void Update() override;
  int ReadKey(int timeout) override;

 private:
  int waitForInput(int timeout);
  static int inputOrSignal(int timeout, const sigset_t& mask);
  int loneEscape(int key);
  void withoutFlowControl();

  SCREEN* screen = nullptr;
};
