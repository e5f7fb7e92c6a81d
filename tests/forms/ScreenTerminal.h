#pragma once

// A terminal for the main window on the in-memory Screen, driven by a script:
//
//   auto* terminal = new ScreenTerminal({Key('\t'), Do([&] { window.OnDelete(); }), Click(3, 4)});
//   Window window(logger, resources, settings, terminal);   // the window owns the terminal
//
// Each read of the window takes the next step: a key, a mouse click, or an action run between
// two keys (the read then reports a time-out). Once the script is done, input has ended.

#include <curses.h>

#include <deque>
#include <functional>
#include <utility>

#include "forms/Terminal.h"
#include "support/Screen.h"

using Step = std::function<int()>;

inline constexpr int Tab = 9, Enter = 10, Escape = 27;

inline Step Key(int key) {
  return [key] { return key; };
}

inline Step Do(std::function<void()> action) {
  return [action] {
    action();
    return Terminal::TIMED_OUT;
  };
}

inline Step Click(int x, int y, mmask_t state = BUTTON1_CLICKED) {
  return [=] {
    Screen::QueueMouse(x, y, state);
    return wgetch(stdscr);
  };
}

class ScreenTerminal : public Terminal {
 public:
  explicit ScreenTerminal(std::deque<Step> script, int* closed = nullptr)
      : script(std::move(script)), closed(closed) {}

  void Open() override {}
  void Close() override {
    if (closed)
      ++*closed;
  }
  int ReadKey(int) override {
    if (script.empty())
      return ENDED;
    Step step = script.front();
    script.pop_front();
    return step();
  }

 private:
  std::deque<Step> script;
  int* closed;
};
