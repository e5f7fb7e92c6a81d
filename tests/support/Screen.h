#pragma once

// An in-memory curses screen for tests that draw.
//
// How to use it:
//
//   Screen screen;                                  // 100 x 30, the main window's colour pairs
//   label->Render();
//   EXPECT_EQ(screen.Text(0, 0, 12, 3), R"(┌Title─────┐
//   │>OK       │
//   └──────────┘)");                                // rows joined by '\n', no trailing '\n'
//   EXPECT_EQ(screen.At(1, 1).pair, 5);             // colour pair of a cell
//   EXPECT_TRUE(screen.At(1, 1).bold);              // and its attributes
//
//   std::unique_ptr<Mouse> click = screen.Click(3, 4);  // a left click, already read back
//   screen.QueueMouse(3, 4, BUTTON1_CLICKED);       // or only queued, for code that reads it
//
// Only one Screen may exist at a time: it is curses' current screen (stdscr) while it lives.
// The terminal is "xterm" over /dev/null, sized with resizeterm, in the C.UTF-8 locale, with
// keypad, noecho, nodelay (reading never blocks) and every mouse event enabled. The background
// is colour pair 1, as on the main window. Destroying the Screen ends curses (endwin, delscreen)
// and restores the locale.
//
// Text() shows each cell as one display character. Line-drawing characters come back as their
// Unicode look: ┌ ┐ └ ┘ ─ │ ◆ ↑ ↓ ← → █ (corners, lines, diamond, arrows, block).

#include <curses.h>

#include <cstdio>
#include <memory>
#include <string>

class Mouse;

class Screen {
 public:
  struct Cell {
    std::string glyph;  // the character as UTF-8
    int pair = 0;
    bool bold = false;
    bool blink = false;
    bool underline = false;
  };

  static const int DefaultWidth = 100;
  static const int DefaultHeight = 30;

  explicit Screen(int width = DefaultWidth, int height = DefaultHeight);
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The region's rows joined by '\n'; cells beyond the screen read as nothing.
  std::string Text(int x, int y, int regionWidth, int regionHeight) const;
  std::string Row(int y) const { return Text(0, y, width, 1); }
  Cell At(int x, int y) const;

  // Queues a mouse event (state is a curses mouse mask such as BUTTON1_CLICKED).
  static void QueueMouse(int x, int y, mmask_t state);
  // The next queued key, or ERR when there is none.
  int ReadKey() const;
  // Queues the event, reads its key and returns the Mouse built from it, as the input loop does.
  std::unique_ptr<Mouse> Click(int x, int y, mmask_t state = BUTTON1_CLICKED) const;

 private:
  int width;
  int height;
  FILE* output = nullptr;
  FILE* input = nullptr;
  SCREEN* screen = nullptr;
  std::string locale;
};
