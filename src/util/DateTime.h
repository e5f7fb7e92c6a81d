#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// A point in time with whole-second resolution and fixed text forms.
class DateTime {
 public:
  DateTime();                       // now
  explicit DateTime(long seconds);  // seconds since the Unix epoch
  virtual ~DateTime() = default;

  std::string GetTimeString();              // local HH:MM:SS
  std::string GetUtcTimeString();           // UTC HH:MM:SS
  std::string GetDateString();              // local DD.MM.YYYY
  std::string GetUtcDateString();           // UTC DD.MM.YYYY
  std::string ToString();                   // local "DD.MM.YYYY HH:MM:SS"
  std::string ToUtcString();                // UTC "DD.MM.YYYY HH:MM:SS"
  int64_t GetSpanSeconds(DateTime* other);  // this minus other

 private:
  int64_t seconds;
};

std::string getTimeString(tm* time);
std::string getDateString(tm* time);
