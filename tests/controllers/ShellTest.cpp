#include "controllers/Shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The bytes a command line writes to standard output, run by the shell given.
std::string outputOf(const std::string& shell, const std::string& command) {
  std::string output;
  FILE* pipe = popen((shell + " -c " + Shell::Word(command)).c_str(), "r");
  char buffer[256];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, count);
  pclose(pipe);
  return output;
}

// A word goes to sh as Word writes it; a command line goes to bash as Line writes it.
TEST(Shell, HandsEveryValueToTheProgramAsOneIntactWord) {
  for (const char* value : {"two words", "it's", "$(echo ran)", "`echo ran`", "back\\slash",
                            "semi;colon && amp&", "new\nline", "\\\"", "*", "", "~/x"}) {
    EXPECT_EQ(outputOf("sh", "printf '%s|' " + Shell::Word(value)), std::string(value) + "|")
        << value;
    std::string line = Shell::Line({"printf", "%s|", value, "-"});
    EXPECT_EQ(line.find('\n'), std::string::npos) << value;
    EXPECT_EQ(outputOf("bash", line), std::string(value) + "|-|") << value;
  }
}

}  // namespace
