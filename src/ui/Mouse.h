#pragma once

class Position;

// A snapshot of one curses mouse event. Construct it on the input thread right after the input
// loop read the mouse key: the constructor consumes the pending event.
class Mouse {
 public:
  // Reads the pending event with getmouse; the error flag is set when that fails.
  Mouse();
  // An event with the given fields (button state as a curses mouse mask).
  Mouse(int x, int y, unsigned long state);
  virtual ~Mouse() = default;

  bool Failed() const { return error; }
  // True when the button state is exactly a click of the first button.
  bool IsLeftClick() const;
  // A new position (owned by the caller) in screen cells, or (-1, -1) for a failed read.
  Position* GetPosition() const;

 private:
  int x = -1;
  int y = -1;
  unsigned long state = 0;
  bool error = false;
};
