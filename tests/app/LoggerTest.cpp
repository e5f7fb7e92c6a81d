#include "app/Logger.h"

#include <gtest/gtest.h>

#include "support/Shape.h"
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
  std::string shape =
      "Started at ##.##.#### ##:##:##"
      "\n##:##:## > first"
      "\n##:##:## > "
      "\n##:##:## > two\nlines"
      "\nDuration: # sec.";
  EXPECT_TRUE(MatchesShape(log, shape)) << log;
  EXPECT_LE(log[log.size() - 6], '1') << log;  // a run this short lasts 0 or 1 seconds
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
