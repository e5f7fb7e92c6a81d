#include "controllers/CommandRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandRunner, LastLinesAreTheLinesATerminalShowsLastWithoutBlankOnes) {
  std::string many;
  for (int i = 1; i <= 25; ++i)
    many += std::to_string(i) + "\n";
  const struct {
    std::string output;
    std::vector<std::string> lines;
  } cases[] = {
      {"first\n\n  \nlast", {"first", "last"}},
      {"file  10%\rfile  50%\rfile 100%\r\nsaved\r\n", {"file 100%", "saved"}},
      {"\x1b[31mred\x1b[0m\tend\n", {"?[31mred?[0m\tend"}},
      {many, {"6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15",
              "16", "17", "18", "19", "20", "21", "22", "23", "24", "25"}},
      {"", {}},
  };
  for (const auto& test : cases)
    EXPECT_EQ(CommandRunner::LastLines(test.output, 20), test.lines) << test.output;
}

}  // namespace
