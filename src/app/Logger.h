#pragma once

#include <cstdint>
#include <string>

class DateTime;

// The diagnostic log of one run: a start line, one time-stamped line per message and a duration
// line written when the logger is destroyed. Each message reaches the file as it is written, so
// a run that is killed keeps every complete line. The log of the previous run is kept under the
// name with ".1" appended. A file that cannot be opened, and an empty file name, drop every write.
class Logger {
 public:
  // Values longer than this many bytes are cut in log lines (see Excerpt).
  static constexpr size_t VALUE_LIMIT = 200;

  explicit Logger(std::string fileName);
  virtual ~Logger();
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void Write(std::string message);
  // Nothing to do: every message is handed to the file as it is written.
  void Flush();

  // The value as it goes into a log line: unchanged up to VALUE_LIMIT bytes, else its first
  // bytes (never half a UTF-8 character) and a note of its full length.
  static std::string Excerpt(const std::string& value);

 private:
  void open();
  void put(const std::string& text);

  std::string fileName;
  int fd = -1;
  DateTime* start;
  // Time of day of the last message, kept while the clock stays in the same second.
  int64_t timeSecond = -1;
  std::string timeText;
};
