#include "ui/Size.h"

#include <gtest/gtest.h>

TEST(Size, MeasuresTheBlockATextOccupies) {
  std::pair<std::string, std::string> cases[] = {
      {"", "[0; 1]"},
      {"abc\n", "[3; 2]"},
      {"abcde\nab", "[5; 2]"},
      {"\xD0\x9F\xD1\x80\xD0\xB8", "[3; 1]"}};  // three Cyrillic letters
  for (const auto& [text, size] : cases)
    EXPECT_EQ(Size(text).ToString(), size) << text;
}
