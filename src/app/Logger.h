#pragma once

#include <cstdint>
#include <fstream>
#include <string>

class DateTime;

// The diagnostic log of one run: a start line, one time-stamped line per message and a duration
// line written when the logger is destroyed. A file that cannot be opened drops every write.
class Logger {
 public:
  explicit Logger(std::string fileName);
  virtual ~Logger();
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void Write(std::string message);
  // Hands what was written so far to the file; otherwise it reaches the file as the buffer fills.
  void Flush();

 private:
  std::string fileName;
  std::ofstream stream;
  DateTime* start;
  // Time of day of the last message, kept while the clock stays in the same second.
  int64_t timeSecond = -1;
  std::string timeText;
};
