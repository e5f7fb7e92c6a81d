#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class DateTime;

// The diagnostic log of one run: a start line, one time-stamped line per message and a duration
// line written when the logger is destroyed. Each message reaches the file as it is written, so
// a run that is killed keeps every complete line, except while messages are held (Hold). The log of
// the previous run is kept under the name with ".1" appended. A file that cannot be opened, and an
// empty file name, drop every write.
class Logger {
 public:
  // Values longer than this many bytes are cut in log lines (see Excerpt).
  static constexpr size_t VALUE_LIMIT = 200;
  // Held messages are written once they take more than this many bytes.
  static constexpr size_t HOLD_LIMIT = size_t{64} * 1024;

  // When the file comes to be: at once, or at the first write that reaches it, the logger
  // holding every message until then (see Hold), so that a program can put its screen up before
  // it moves the last run's log aside and makes its own.
  enum class Opening { AtOnce, AtFirstFlush };

  explicit Logger(std::string fileName, Opening opening = Opening::AtOnce);
  virtual ~Logger();
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void Write(std::string message);
  // Keeps the messages written from now on in memory until Flush (or until they pass
  // HOLD_LIMIT bytes): a start-up that logs hundreds of lines before it waits for anything costs
  // one write call instead of hundreds. A run killed while messages are held loses them, so the
  // holder flushes before anything waits or another program runs.
  void Hold();
  // Hands the held messages to the file in one write call and writes each later message as it
  // comes; nothing to do when nothing is held.
  void Flush();

  // The value as it goes into a log line: unchanged up to VALUE_LIMIT bytes, else its first
  // bytes (never half a UTF-8 character) and a note of its full length.
  static std::string Excerpt(const std::string& value);

 private:
  void open();
  void put(std::initializer_list<std::string_view> pieces);
  void writeHeld();

  std::string fileName;
  int fd = -1;
  bool opening = false;  // the file is made at the first write that reaches it
  DateTime* start;
  // Time of day of the last message, kept while the clock stays in the same second.
  int64_t timeSecond = -1;
  std::string timeText;
  bool holding = false;
  std::string held;
};
