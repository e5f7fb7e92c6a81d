#include "forms/CursesTerminal.h"

#include "app/StopSignals.h"
#include "ui/Keys.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {
const mmask_t EveryMouseEvent = 0xFFFFFFF;
const char* const UNICODE_LINES = "NCURSES_NO_UTF8_ACS";

// Where the locale is UTF-8, curses sends frame lines as the Unicode characters they stand for
// instead of switching the terminal's character set around each one: the first screen takes a
// sixth fewer bytes and far fewer attribute changes. The cells curses keeps are the same. A value
// the user set is left as it is; the programs run later do not inherit ours.
SCREEN* openedWithUnicodeLines() {
  bool ours = std::getenv(UNICODE_LINES) == nullptr && setenv(UNICODE_LINES, "1", 0) == 0;
  SCREEN* screen = newterm(nullptr, stdout, stdin);
  if (ours)
    unsetenv(UNICODE_LINES);
  return screen;
}

// Curses sends each cursor move in a write call of its own until screen mode has once been left
// and taken up again (until then it cannot tell its own moves from a terminal-level program's):
// the first screen went out in some thirty writes and each key's update in three, each a packet
// of its own on an ssh link. Leaving screen mode and taking it up again at once, before anything
// is drawn and before colours start (so the terminal's palette is not reset), makes every later
// update one write; it costs a switch to the normal screen and back.
void resumedOnce() {
  endwin();
  doupdate();
}
}  // namespace

CursesTerminal::~CursesTerminal() {
  CursesTerminal::Close();
}

void CursesTerminal::Open() {
  if (screen)
    return;
  screen = openedWithUnicodeLines();
  if (screen == nullptr)
    throw "Terminal cannot be opened";
  resumedOnce();
  if (std::getenv("ESCDELAY") == nullptr)
    set_escdelay(ESCAPE_DELAY);
  cbreak();
  keypad(stdscr, TRUE);
  curs_set(0);
  // The cursor is hidden: where it stands after an update does not matter, so curses sends no
  // move to put it back at the last drawn cell.
  leaveok(stdscr, TRUE);
  noecho();
  mousemask(EveryMouseEvent, nullptr);
  withoutFlowControl();
}

// Ctrl-S and Ctrl-Q become ordinary keys instead of freezing the output; curses keeps this as the
// program's mode and puts the terminal's own modes back when screen mode ends.
void CursesTerminal::withoutFlowControl() {
  termios modes{};
  if (tcgetattr(STDIN_FILENO, &modes) != 0)
    return;
  modes.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
  if (tcsetattr(STDIN_FILENO, TCSANOW, &modes) == 0)
    def_prog_mode();
}

void CursesTerminal::Update() {
  if (screen)
    refresh();
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
    return loneEscape(key);
  int ready = waitForInput(timeout);
  if (ready < 0)
    return TIMED_OUT;
  key = wgetch(stdscr);
  if (key != ERR)
    return loneEscape(key);
  return ready == 0 ? TIMED_OUT : ENDED;
}

// Curses gives Escape once the escape delay has passed without a known sequence; bytes that
// came with it (Alt+key, an unknown sequence) are already buffered. Only a lone Escape counts,
// or one followed by another Escape, which is left for the next read. Otherwise the rest of the
// sequence is read and dropped: one character after Escape (Alt+key), or after "Escape [" the
// parameters up to the final character, or after "Escape O" one more; keys typed after it stay.
int CursesTerminal::loneEscape(int key) {
  if (key != Keys::Escape)
    return key;
  wtimeout(stdscr, 0);
  int next = wgetch(stdscr);
  if (next == ERR)
    return Keys::Escape;
  if (next == Keys::Escape) {
    ungetch(next);
    return Keys::Escape;
  }
  if (next == 'O') {
    wgetch(stdscr);
  } else if (next == '[') {
    for (int c = wgetch(stdscr); c != ERR && (c < 0x40 || c > 0x7e);)
      c = wgetch(stdscr);
  }
  return DROPPED;
}

// 1 when input is readable or has hung up, 0 when a signal (a resize, a stop) broke the wait or a
// stop signal came before it, -1 after the time-out. The stop signals stay blocked from the last
// look at them until the wait begins: one that comes in between breaks the wait at once.
int CursesTerminal::waitForInput(int timeout) {
  sigset_t stops = StopSignals::Set();
  sigset_t before;
  sigprocmask(SIG_BLOCK, &stops, &before);
  int result = StopSignals::Received() == 0 ? inputOrSignal(timeout, before) : 0;
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return result;
}

// The wait itself, with the signal mask it had before the stop signals were blocked.
int CursesTerminal::inputOrSignal(int timeout, const sigset_t& mask) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  timespec limit{timeout / 1000, (timeout % 1000) * 1000000L};
  int result = ppoll(&input, 1, timeout < 0 ? nullptr : &limit, &mask);
  if (result > 0)
    return 1;
  if (result < 0 && errno == EINTR)
    return 0;
  return result == 0 ? -1 : 1;
}
