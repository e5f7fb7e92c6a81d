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

TEST(Shell, QuotesOnlyWhatNeedsQuotingAndTellsOptionLikeValues) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://host:8080/a/b-1.2_x.tar.gz", "http://host:8080/a/b-1.2_x.tar.gz"},
      {"two words", "'two words'"},
      {"it's", "'it'\\''s'"},
      {"", "''"},
      {"~/docker", "'~/docker'"}};
  for (const auto& [value, word] : cases)
    EXPECT_EQ(Shell::Word(value), word);
  EXPECT_TRUE(Shell::IsOptionLike("-rf"));
  EXPECT_FALSE(Shell::IsOptionLike("a-b") || Shell::IsOptionLike(""));
  EXPECT_EQ(Shell::Line({"tar", "-C", "/opt/my web/", "-xvf", "./temp/a.tar.gz"}),
            "tar -C '/opt/my web/' -xvf ./temp/a.tar.gz");
  EXPECT_EQ(Shell::Line({"printf", "a\nb\t'\\"}), "printf $'a\\x0ab\\x09\\'\\\\'");
}

// A word goes to sh as Word writes it; a command line goes to bash as Line writes it.
TEST(Shell, HandsEveryValueToTheProgramAsOneIntactWord) {
  for (const char* value : {"two words", "a\"quote", "it's", "$(echo ran)", "`echo ran`", "$HOME",
                            "back\\slash", "semi;colon && amp&", "new\nline", "'", "\\\"", "*", "",
                            "tab\there", "ünïcode", "~", "~/x", "~root", "\x7f\\x41"}) {
    EXPECT_EQ(outputOf("sh", "printf '%s|' " + Shell::Word(value)), std::string(value) + "|")
        << value;
    std::string line = Shell::Line({"printf", "%s|", value, "-"});
    EXPECT_EQ(line.find('\n'), std::string::npos) << value;
    EXPECT_EQ(outputOf("bash", line), std::string(value) + "|-|") << value;
  }
}

}  // namespace
