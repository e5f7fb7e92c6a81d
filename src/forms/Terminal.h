#pragma once

// The terminal the main window runs on: entering and leaving screen mode and reading keys. The
// window draws on the curses standard screen that Open makes current.
class Terminal {
 public:
  // ReadKey results besides key codes.
  static constexpr int TIMED_OUT = -1;  // the time-out passed without a key
  static constexpr int ENDED = -2;      // input has ended (end of file, hang-up)
  static constexpr int DROPPED = -3;    // Escape with more bytes at once: an Alt key or a sequence
                                        // the terminal description does not know, read and dropped

  Terminal() = default;
  virtual ~Terminal() = default;
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // Enters screen mode; throws a C string when the terminal cannot be used.
  virtual void Open() = 0;
  // Leaves screen mode; does nothing when it is not on.
  virtual void Close() = 0;
  // Sends what was drawn since the last update to the screen; ReadKey does it too before it waits.
  virtual void Update() {}
  // Waits for the next key at most timeout milliseconds (-1: without limit).
  virtual int ReadKey(int timeout) = 0;
};
