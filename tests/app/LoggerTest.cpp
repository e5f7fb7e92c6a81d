#include "app/Logger.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/Shape.h"
#include "support/TempDir.h"
#include "support/WorkingDirectory.h"

TEST(Logger, StartsAFreshFileWithStartLineMessagesAndDuration) {
  TempDir dir;
  dir.Write("log.txt", "an earlier run");
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("first");
    EXPECT_NE(dir.Read("log.txt").find("> first"), std::string::npos);  // already in the file
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

TEST(Logger, KeepsThePreviousLogAndMovesAPlantedLinkAsideUnfollowed) {
  TempDir dir;
  dir.Write("log.txt", "an earlier run");
  dir.Write("log.txt.1", "an older run");
  { Logger logger(dir.File("log.txt")); }
  EXPECT_EQ(dir.Read("log.txt.1"), "an earlier run");
  dir.Write("target", "precious");
  std::filesystem::remove(dir.File("log.txt"));
  ASSERT_EQ(symlink("target", dir.File("log.txt").c_str()), 0);
  { Logger logger(dir.File("log.txt")); }
  EXPECT_EQ(dir.Read("target"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("log.txt.1")));
  EXPECT_EQ(dir.Read("log.txt").rfind("Started at ", 0), 0u);
}

TEST(Logger, LeavesANameTakenByAnythingButAFileOrLinkAlone) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.File("log.txt").c_str(), 0600), 0);  // as a device such as /dev/null
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("nowhere");
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir.File("log.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("log.txt.1")));
}

TEST(Logger, WithoutANameTouchesNoFile) {
  TempDir dir;
  WorkingDirectory inside(dir.Path());
  {
    Logger logger("");
    logger.Write("nowhere");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(Logger, ExcerptCutsLongValuesAtACharacterAndNamesTheirLength) {
  const std::string limit(Logger::VALUE_LIMIT, 'a');
  const std::string accent = "\xc3\xa9";
  const struct {
    std::string value;
    std::string excerpt;
  } cases[] = {
      {"", ""},
      {limit, limit},
      {limit + "b", limit + "... (201 bytes)"},
      {limit.substr(1) + accent, limit.substr(1) + "... (201 bytes)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Logger::Excerpt(c.value), c.excerpt) << c.value.size();
}
