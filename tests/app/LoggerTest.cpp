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
  TempDir dir;
  InputClosed closed;
  Logger(dir.File("log.txt")).Write("first");
  EXPECT_NE(dir.Read("log.txt").find("> first"), std::string::npos);
}
