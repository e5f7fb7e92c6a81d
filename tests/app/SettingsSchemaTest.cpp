#include "app/SettingsSchema.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "app/Settings.h"
#include "support/LogCapture.h"

// Reading each path by its kind throws for a missing key or another kind, failing the test.
TEST(SettingsSchema, ShippedSettingsHoldEveryPathWithItsKindWithinItsRule) {
  LogCapture log;
  Settings settings(log.Get(), DEPLOYER_SOURCE_DIR "/share/Settings.json");
  settings.Load();
  for (const auto& entry : SettingsSchema::Entries()) {
    std::string value = entry.kind == SettingsSchema::Kind::Integer
                            ? std::to_string(settings.GetInteger(entry.path))
                            : settings.GetOptionalString(entry.path);
    EXPECT_TRUE(entry.Accepts(value)) << entry.path << " " << value;
  }
}

TEST(SettingsSchema, ParsesOnlyPlainDecimalIntegersThatFitAnInt) {
  struct Case {
    const char* text;
    bool parses;
    int value;
  } cases[] = {
      {"8080", true, 8080},
      {"08080", true, 8080},
      {"-1", true, -1},
      {"2147483647", true, INT_MAX},
      {"-2147483648", true, INT_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"+5", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"8.0", false, 0},
      {"0x10", false, 0},
      {"--1", false, 0},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(SettingsSchema::ParseInteger(c.text, &value), c.parses) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}
