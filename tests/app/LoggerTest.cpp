#include "app/Logger.h"

#include <gtest/gtest.h>

#include "support/Shape.h"
#include "support/TempDir.h"

TEST(Logger, StartsAFreshFileWithStartLineMessagesAndDuration) {
  TempDir dir;
  dir.Write("log.txt", "an earlier run");
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("first");
    logger.Write("");
    logger.Write("two\nlines");
  }
  std::string log = dir.Read("log.txt");
  EXPECT_TRUE(MatchesShape(log,
                           "Started at ##.##.#### ##:##:##\n##:##:## > first\n##:##:## > \n"
                           "##:##:## > two\nlines\nDuration: # sec."))
      << log;
  EXPECT_LE(log[log.size() - 6], '1') << log;  // a run this short lasts 0 or 1 seconds
}

TEST(Logger, DropsWritesWhenTheFileCannotBeOpened) {
  Logger logger("/nonexistent-folder/log.txt");
  logger.Write("nowhere");  // must not throw or crash
}
