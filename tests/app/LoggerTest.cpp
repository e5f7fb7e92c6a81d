#include "app/Logger.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/Shape.h"
#include "support/TempDir.h"
#include "support/WorkingDirectory.h"

TEST(Logger, WritesStartLineMessagesAndDurationAndKeepsThePreviousLog) {
  TempDir dir;
  dir.Write("log.txt", "an earlier run");
  dir.Write("log.txt.1", "an older run");
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("first");
    EXPECT_NE(dir.Read("log.txt").find("> first"), std::string::npos);  // already in the file
    logger.Write("two\nlines");
  }
  std::string log = dir.Read("log.txt");
  EXPECT_TRUE(MatchesShape(
      log,
      "Started at ##.##.#### ##:##:##\n##:##:## > first\n##:##:## > two\nlines\nDuration: # sec."))
      << log;
  EXPECT_EQ(dir.Read("log.txt.1"), "an earlier run");
}

// A planted link is moved aside unfollowed; anything else, such as a device, is left alone.
TEST(Logger, NeverWritesThroughANameTakenByAnythingButAFile) {
  TempDir dir;
  dir.Write("target", "precious");
  ASSERT_EQ(symlink("target", dir.File("log.txt").c_str()), 0);
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  {
    Logger logger(dir.File("log.txt"));
    Logger device(dir.File("fifo"));
    device.Write("nowhere");
  }
  EXPECT_EQ(dir.Read("target"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("log.txt.1")));
  EXPECT_EQ(dir.Read("log.txt").rfind("Started at ", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("fifo.1")));
}

TEST(Logger, WithoutANameOrAFolderWritesNothing) {
  TempDir dir;
  WorkingDirectory inside(dir.Path());
  {
    Logger logger("");
    logger.Write("nowhere");
    Logger lost("/nonexistent-folder/log.txt");
    lost.Write("nowhere");  // must not throw or crash
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(Logger, ExcerptCutsLongValuesAtACharacterAndNamesTheirLength) {
  const std::string limit(Logger::VALUE_LIMIT, 'a');
  EXPECT_EQ(Logger::Excerpt(limit), limit);
  EXPECT_EQ(Logger::Excerpt(limit.substr(1) + "\xc3\xa9"), limit.substr(1) + "... (201 bytes)");
}
