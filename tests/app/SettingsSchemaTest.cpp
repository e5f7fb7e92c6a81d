#include "app/SettingsSchema.h"

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/LogCapture.h"

// Reading each path by its kind throws for a missing key or another kind, failing the test.
TEST(SettingsSchema, ShippedSettingsHoldEveryPathWithItsKindWithinItsRule) {
  LogCapture log;
  Settings settings(log.Get(), DEPLOYER_SOURCE_DIR "/share/Settings.json");
  settings.Load();
  for (const auto& entry : SettingsSchema::Entries()) {
    std::string value =
        entry.kind == SettingsSchema::Kind::Integer
            ? std::to_string(settings.GetInteger(entry.path))
        : entry.kind == SettingsSchema::Kind::OptionalInteger
            ? std::to_string(settings.GetOptionalInteger(entry.path, entry.fallback))
            : settings.GetOptionalString(entry.path);
    EXPECT_TRUE(entry.Accepts(value)) << entry.path << " " << value;
  }
}
