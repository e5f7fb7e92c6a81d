#include "forms/CursesTerminal.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {
const mmask_t EveryMouseEvent = 0xFFFFFFF;
}

CursesTerminal::~CursesTerminal() {
  Close();
}

void CursesTerminal::Open() {
  if (screen)
    return;
  screen = newterm(nullptr, stdout, stdin);
  if (screen == nullptr)
    throw "Terminal cannot be opened";
  if (std::getenv("ESCDELAY") == nullptr)
    set_escdelay(ESCAPE_DELAY);
  cbreak();
  keypad(stdscr, TRUE);
  curs_set(0);
  noecho();
  mousemask(EveryMouseEvent, nullptr);
}

void CursesTerminal::Close() {
  if (screen == nullptr)
    return;
  endwin();
  delscreen(screen);
  screen = nullptr;
}

// A key already buffered by curses comes first; otherwise the wait happens on the input itself,
// so that an input which has ended is told apart from a time-out.
int CursesTerminal::ReadKey(int timeout) {
  wtimeout(stdscr, 0);
  int key = wgetch(stdscr);
  if (key != ERR)
    return key;
  int ready = waitForInput(timeout);
  if (ready < 0)
    return TIMED_OUT;
  key = wgetch(stdscr);
  if (key != ERR)
    return key;
  return ready == 0 ? TIMED_OUT : ENDED;
}

// 1 when input is readable or has hung up, 0 when a signal (a resize) broke the wait, -1 after
// the time-out.
int CursesTerminal::waitForInput(int timeout) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  int result = poll(&input, 1, timeout);
  if (result > 0)
    return 1;
  if (result < 0 && errno == EINTR)
    return 0;
  return result == 0 ? -1 : 1;
}
