#include "controllers/Shell.h"

#include <gtest/gtest.h>

#include <string>

TEST(Shell, QuotesOnlyWhatTheShellWouldChangeAndKeepsALineOnOneLine) {
  using namespace std::string_literals;
  const struct {
    std::string value, word, line;
  } cases[] = {
      {"AZaz09_./:=@%+,-~", "AZaz09_./:=@%+,-~", "AZaz09_./:=@%+,-~"},
      {"", "''", "''"},
      {"~root", "'~root'", "'~root'"},
      {"it's $HOME *", "'it'\\''s $HOME *'", "'it'\\''s $HOME *'"},
      {"a\0b"s, "'a\0b'"s, "$'a\\x00b'"},
      {"a\tb\\'\x7f", "'a\tb\\'\\''\x7f'", "$'a\\x09b\\\\\\'\\x7f'"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(Shell::Word(test.value), test.word) << test.value;
    EXPECT_EQ(Shell::Line({"echo", test.value}), "echo " + test.line) << test.value;
  }
}
