#pragma once

#include <unistd.h>

// Standard input closed while it lives, as for a program started with "<&-": the next file the
// code under test opens gets descriptor 0. The input comes back however the scope is left.
class InputClosed {
 public:
  InputClosed() : saved(dup(STDIN_FILENO)) { close(STDIN_FILENO); }
  ~InputClosed() { dup2(saved, STDIN_FILENO), close(saved); }
  InputClosed(const InputClosed&) = delete;
  InputClosed& operator=(const InputClosed&) = delete;

 private:
  int saved;
};
