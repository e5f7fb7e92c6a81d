#include "app/Logger.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/InputClosed.h"
#include "support/Shape.h"
#include "support/TempDir.h"

// The previous log is moved aside, and when it is a planted link, the link is moved unfollowed.
TEST(Logger, WritesStartLineMessagesAndDurationAfterMovingThePreviousLogAside) {
  TempDir dir;
  dir.Write("target", "precious");
  ASSERT_EQ(symlink("target", dir.File("log.txt").c_str()), 0);
  {
    Logger logger(dir.File("log.txt"));
    logger.Write("first");
    EXPECT_NE(dir.Read("log.txt").find("> first"), std::string::npos);  // already in the file
  }
  std::string log = dir.Read("log.txt");
  EXPECT_TRUE(
      MatchesShape(log, "Started at ##.##.#### ##:##:##\n##:##:## > first\nDuration: # sec."))
      << log;
  EXPECT_EQ(dir.Read("target"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("log.txt.1")));
}

// Started with its input closed, the program gets descriptor 0 for its log, and still writes it.
TEST(Logger, WritesItsFileOnDescriptorZero) {
  for (Logger::Opening opening : {Logger::Opening::AtOnce, Logger::Opening::AtFirstFlush}) {
    TempDir dir;
    InputClosed closed;
    Logger(dir.File("log.txt"), opening).Write("first");
    EXPECT_NE(dir.Read("log.txt").find("> first"), std::string::npos);
  }
}

// Held messages stay out of the file until Flush; later ones go straight in again, and what is
// still held when the logger ends is written before its duration line.
TEST(Logger, HeldMessagesReachTheFileOnFlushOrAtTheEnd) {
  TempDir dir;
  {
    Logger logger(dir.File("log.txt"));
    logger.Hold();
    logger.Write("held");
    EXPECT_EQ(dir.Read("log.txt").find("held"), std::string::npos);
    logger.Flush();
    EXPECT_NE(dir.Read("log.txt").find("> held"), std::string::npos);
    logger.Write("direct");
    EXPECT_NE(dir.Read("log.txt").find("> direct"), std::string::npos);
    logger.Hold();
    logger.Write(std::string(Logger::HOLD_LIMIT, 'x'));  // past the limit: written at once
    EXPECT_NE(dir.Read("log.txt").find("xxx"), std::string::npos);
    logger.Write("last");
  }
  std::string log = dir.Read("log.txt");
  EXPECT_TRUE(MatchesShape(log.substr(log.find("> last")), "> last\nDuration: # sec.")) << log;
}

// Opened at the first flush, the logger leaves the last run's log in place until then, and makes
// its file then, or at its end, with the start line first.
TEST(Logger, OpenedAtTheFirstFlushMakesItsFileOnlyThen) {
  for (bool flushed : {true, false}) {
    TempDir dir;
    dir.Write("log.txt", "last run");
    {
      Logger logger(dir.File("log.txt"), Logger::Opening::AtFirstFlush);
      logger.Write("first");
      EXPECT_EQ(dir.Read("log.txt"), "last run");
      if (flushed)
        logger.Flush();
      EXPECT_EQ(dir.Read("log.txt.1"), flushed ? "last run" : "");
    }
    std::string log = dir.Read("log.txt");
    EXPECT_TRUE(
        MatchesShape(log, "Started at ##.##.#### ##:##:##\n##:##:## > first\nDuration: # sec."))
        << log;
  }
}
