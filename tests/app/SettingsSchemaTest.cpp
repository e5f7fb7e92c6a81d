#include "app/SettingsSchema.h"

#include <gtest/gtest.h>

#include <climits>

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
  std::pair<const char*, int> numbers[] = {
      {"08080", 8080}, {"-1", -1}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
  for (const auto& [text, expected] : numbers) {
    int value = 0;
    EXPECT_TRUE(SettingsSchema::ParseInteger(text, &value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  for (const char* text : {"2147483648", "-2147483649", "", "-", "+5", " 5", "8.0"}) {
    int value = 0;
    EXPECT_FALSE(SettingsSchema::ParseInteger(text, &value)) << text;
  }
}
