#include "util/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DateTime, FormatsInUtcWithLeadingZeros) {
  EXPECT_EQ(DateTime(0).ToUtcString(), "01.01.1970 00:00:00");
  DateTime moment(1772697909);  // 05.03.2026 08:05:09 UTC
  EXPECT_EQ(moment.GetUtcDateString() + " " + moment.GetUtcTimeString(), "05.03.2026 08:05:09");
}

TEST(DateTime, LocalFormsFollowTheTimeZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "UTC-3", 1);
  tzset();
  std::string local = DateTime(1772697909).ToString();
  old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
  EXPECT_EQ(local, "05.03.2026 11:05:09");
}

TEST(DateTime, SpanIsNegativeWhenTheOtherIsLater) {
  DateTime early(100);
  DateTime late(160);
  EXPECT_EQ(early.GetSpanSeconds(&late), -60);
  EXPECT_EQ(late.GetSpanSeconds(&early), 60);
}
