#include "util/DateTime.h"

#include <chrono>
#include <cstdio>

namespace {

std::string number(int value, bool twoDigits) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  std::string result = text;
  if (twoDigits && result.size() < 2)
    result = "0" + result;
  return result;
}

tm breakDown(int64_t seconds, bool utc) {
  auto moment = static_cast<time_t>(seconds);
  tm parts{};
  if (utc) {
    gmtime_r(&moment, &parts);
  } else {
    localtime_r(&moment, &parts);
  }
  return parts;
}

}  // namespace

std::string getTimeString(tm* time) {
  return number(time->tm_hour, true) + ":" + number(time->tm_min, true) + ":" +
         number(time->tm_sec, true);
}

std::string getDateString(tm* time) {
  return number(time->tm_mday, true) + "." + number(time->tm_mon + 1, true) + "." +
         number(time->tm_year + 1900, false);
}

DateTime::DateTime()
    : seconds(std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::system_clock::now().time_since_epoch())
                  .count() /
              1000000000) {}

DateTime::DateTime(long seconds) : seconds(seconds) {}

std::string DateTime::GetTimeString() {
  tm parts = breakDown(seconds, false);
  return getTimeString(&parts);
}

std::string DateTime::GetUtcTimeString() {
  tm parts = breakDown(seconds, true);
  return getTimeString(&parts);
}

std::string DateTime::GetDateString() {
  tm parts = breakDown(seconds, false);
  return getDateString(&parts);
}

std::string DateTime::GetUtcDateString() {
  tm parts = breakDown(seconds, true);
  return getDateString(&parts);
}

std::string DateTime::ToString() {
  return GetDateString() + " " + GetTimeString();
}

std::string DateTime::ToUtcString() {
  return GetUtcDateString() + " " + GetUtcTimeString();
}

int64_t DateTime::GetSpanSeconds(DateTime* other) {
  return seconds - other->seconds;
}
