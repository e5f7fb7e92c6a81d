#include "controllers/CommandRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandRunner, LastLinesAreTheLinesATerminalShowsLastWithoutBlankOnes) {
  const struct {
    std::string output;
    size_t count;
    std::vector<std::string> lines;
  } cases[] = {
      {"first\n\n  \nlast", 20, {"first", "last"}},
      {"1\n2\n3\n4\n", 2, {"3", "4"}},
      {"file  10%\rfile  50%\rfile 100%\r\nsaved\r\n", 20, {"file 100%", "saved"}},
      {"\x1b[31mred\x1b[0m\tend\n", 20, {"?[31mred?[0m\tend"}},
      {"", 20, {}},
      {"a\nbc", 20, {"a", "bc"}},
  };
  for (const auto& test : cases)
    EXPECT_EQ(CommandRunner::LastLines(test.output, test.count), test.lines) << test.output;
}

}  // namespace
