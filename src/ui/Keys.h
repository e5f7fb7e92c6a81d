#pragma once

// The key codes that the controls, the forms and the window handle, in one place: control
// characters as the terminal sends them, and the curses codes of the side arrows for the code
// that does not include curses (checked against curses in SelectDrawing.cpp).
struct Keys {
  static constexpr int ControlH = 8;
  static constexpr int Tab = 9;
  static constexpr int Enter = 10;
  static constexpr int Escape = 27;
  static constexpr int Space = ' ';
  static constexpr int Backspace = 127;
  static constexpr int Left = 0404;   // KEY_LEFT
  static constexpr int Right = 0405;  // KEY_RIGHT
};
