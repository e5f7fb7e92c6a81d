#pragma once

// Collects what the code under test writes to a Logger, without the time stamps:
//
//   LogCapture log;
//   Button button(log.Get(), ...);
//   ...
//   std::vector<std::string> lines = log.Take();    // the messages written so far
//   EXPECT_TRUE(LogCapture::InOrder(lines, {"first", "second"}));
//
// Take() flushes the log and reads what was added to the file since the previous call.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

class Logger;

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  Logger* Get() const { return logger; }
  // The message lines written since the previous call (a message of several lines gives
  // several entries).
  std::vector<std::string> Take();

  // Success when expected occurs in lines in this order, other lines allowed in between.
  static testing::AssertionResult InOrder(const std::vector<std::string>& lines,
                                          const std::vector<std::string>& expected);
  static int Count(const std::vector<std::string>& lines, const std::string& line);

 private:
  TempDir dir;
  size_t consumed = 0;
  Logger* logger;
};
