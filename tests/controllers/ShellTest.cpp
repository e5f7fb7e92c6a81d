#include "controllers/Shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// What the shell makes of a command line: the bytes printf prints for its one argument.
std::string echoThroughShell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
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
      {"user@host", "user@host"},
      {"a+b,c=d~e%", "a+b,c=d~e%"},
      {"two words", "'two words'"},
      {"it's", "'it'\\''s'"},
      {"", "''"},
      {"a&b", "'a&b'"},
      {"http://host/~user/a", "http://host/~user/a"},
      {"~/docker", "'~/docker'"}};
  for (const auto& [value, word] : cases)
    EXPECT_EQ(Shell::Word(value), word);
  EXPECT_TRUE(Shell::IsOptionLike("-rf"));
  EXPECT_FALSE(Shell::IsOptionLike("a-b") || Shell::IsOptionLike(""));
  EXPECT_EQ(Shell::Quoted("a\\b\"c$d`e'f g"), "\"a\\\\b\\\"c\\$d\\`e'f g\"");
}

TEST(Shell, HandsEveryValueToTheProgramAsOneIntactWord) {
  for (const char* value : {"two words", "a\"quote", "it's", "$(echo ran)", "`echo ran`", "$HOME",
                            "back\\slash", "semi;colon && amp&", "new\nline", "'", "\\\"", "*", "",
                            "tab\there", "ünïcode", "~", "~/x", "~root"}) {
    EXPECT_EQ(echoThroughShell("printf '%s|' " + Shell::Word(value)), std::string(value) + "|")
        << value;
    EXPECT_EQ(echoThroughShell("printf '%s|' " + Shell::Quoted(value)), std::string(value) + "|")
        << value;
  }
}

}  // namespace
