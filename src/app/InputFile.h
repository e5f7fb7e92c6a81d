#pragma once

#include <cstddef>
#include <string>

class Logger;

// Reads a whole input file of the working folder (settings, resources, a migration source) with
// a bound: it must be a regular file (never a FIFO, device or folder, so that opening cannot
// block and reading cannot run on for ever) of at most LIMIT bytes.
class InputFile {
 public:
  static constexpr size_t LIMIT = size_t{4} * 1024 * 1024;
  static const char* const NOT_REGULAR;  // "not a regular file"
  static const char* const TOO_LARGE;    // "larger than 4 MiB"
  static const char* const CANNOT_OPEN;  // "cannot be opened"

  // The whole file in text. Returns nullptr on success, CANNOT_OPEN when the file cannot be
  // opened or read, else NOT_REGULAR or TOO_LARGE.
  static const char* Read(const std::string& path, std::string* text);
  // The whole file in text, or a throw: a file that cannot be opened logs cannotOpenLine and
  // throws cannotOpen; any other refusal logs "<operation> refuses <path>: <reason>." and throws
  // the reason.
  static std::string Load(Logger* logger, const std::string& path, const std::string& operation,
                          const std::string& cannotOpenLine, const char* cannotOpen);
};
