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

const char* const HOSTILE[] = {"two words",  "a\"quote",  "it's",        "$(echo ran)",
                               "`echo ran`", "$HOME",     "back\\slash", "semi;colon && amp&",
                               "new\nline",  "'",         "\\\"",        "*",
                               "",           "tab\there", "ünïcode"};

TEST(Shell, LeavesOrdinaryValuesUnchanged) {
  for (const char* value : {"http://host:8080/a/b-1.2_x.tar.gz", "/opt/", "user@host", "100%",
                            "a+b,c=d~e", "-rf", "ABCxyz019"})
    EXPECT_EQ(Shell::Word(value), value);
}

TEST(Shell, SingleQuotesEverythingElse) {
  EXPECT_EQ(Shell::Word("two words"), "'two words'");
  EXPECT_EQ(Shell::Word("it's"), "'it'\\''s'");
  EXPECT_EQ(Shell::Word(""), "''");
  EXPECT_EQ(Shell::Word("a&b"), "'a&b'");
}

TEST(Shell, EscapesTheFourSpecialCharactersBetweenDoubleQuotes) {
  EXPECT_EQ(Shell::Escape("a\\b\"c$d`e'f g"), "a\\\\b\\\"c\\$d\\`e'f g");
  EXPECT_EQ(Shell::Quoted("x y"), "\"x y\"");
}

TEST(Shell, HandsEveryValueToTheProgramAsOneIntactWord) {
  for (const char* value : HOSTILE) {
    EXPECT_EQ(echoThroughShell("printf '%s|' " + Shell::Word(value)), std::string(value) + "|")
        << value;
    EXPECT_EQ(echoThroughShell("printf '%s|' " + Shell::Quoted(value)), std::string(value) + "|")
        << value;
  }
}

TEST(Shell, TellsOptionLikeValues) {
  EXPECT_TRUE(Shell::IsOptionLike("-rf"));
  EXPECT_TRUE(Shell::IsOptionLike("--help"));
  EXPECT_FALSE(Shell::IsOptionLike("a-b"));
  EXPECT_FALSE(Shell::IsOptionLike(""));
}

}  // namespace
