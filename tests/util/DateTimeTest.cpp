#include "util/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DateTime, FormatsTheEpochInUtc) {
  DateTime epoch(0);
  EXPECT_EQ(epoch.ToUtcString(), "01.01.1970 00:00:00");
}

TEST(DateTime, PadsSmallFieldsWithALeadingZero) {
  DateTime moment(1772697909);  // 05.03.2026 08:05:09 UTC
  EXPECT_EQ(moment.GetUtcDateString(), "05.03.2026");
  EXPECT_EQ(moment.GetUtcTimeString(), "08:05:09");
}

TEST(DateTime, LocalFormsFollowTheTimeZone) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "UTC-3", 1);
  tzset();
  DateTime moment(1772697909);
  EXPECT_EQ(moment.ToString(), "05.03.2026 11:05:09");
  if (old) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(DateTime, SpanIsNegativeWhenTheOtherIsLater) {
  DateTime early(100);
  DateTime late(160);
  EXPECT_EQ(early.GetSpanSeconds(&late), -60);
  EXPECT_EQ(late.GetSpanSeconds(&early), 60);
}
