#pragma once

#include <string>

// Writing to files handled through raw descriptors, where a write must reach the kernel at once.
class Descriptor {
 public:
  // Writes the whole text, going on after partial writes and interruptions; false on an error.
  static bool WriteAll(int fd, const std::string& text);
};
