#include "app/Logger.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/TempDir.h"

TEST(Logger, WritesStartLineMessagesAndDuration) {
  TempDir dir;
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("first");
    logger.Write("");
    logger.Write("two\nlines");
  }
  std::string log = dir.Read("log.txt");
  std::regex shape(
      "Started at \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d"
      "\n\\d\\d:\\d\\d:\\d\\d > first"
      "\n\\d\\d:\\d\\d:\\d\\d > "
      "\n\\d\\d:\\d\\d:\\d\\d > two\nlines"
      "\nDuration: [01] sec\\.");
  EXPECT_TRUE(std::regex_match(log, shape)) << log;
}

TEST(Logger, StartsAFreshFileEachRun) {
  TempDir dir;
  {
    Logger first(dir.File("log.txt"));
    first.Write("old run");
  }
  { Logger second(dir.File("log.txt")); }
  EXPECT_EQ(dir.Read("log.txt").find("old run"), std::string::npos);
}

TEST(Logger, DropsWritesWhenTheFileCannotBeOpened) {
  Logger logger("/nonexistent-folder/log.txt");
  logger.Write("nowhere");  // must not throw or crash
  SUCCEED();
}
