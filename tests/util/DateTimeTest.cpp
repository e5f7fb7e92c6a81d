#include "util/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DateTime, FormatsInUtcAndInTheLocalTimeZone) {
  DateTime moment(1772697909);  // 05.03.2026 08:05:09 UTC
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "UTC-3", 1);
  tzset();
  std::string local = moment.ToString();
  std::string utc = moment.GetUtcDateString() + " " + moment.GetUtcTimeString();
  old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
  EXPECT_EQ(local, "05.03.2026 11:05:09");
  EXPECT_EQ(utc, "05.03.2026 08:05:09");
  DateTime later(1772697969);
  EXPECT_EQ(moment.GetSpanSeconds(&later), -60);
}
