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

// Each rule at its edges: the last values it accepts and the first it refuses.
TEST(SettingsSchema, RulesAcceptUpToTheirEdgesAndNoFurther) {
  const struct {
    const char* path;
    std::vector<std::string> accepted, refused;
  } cases[] = {
      {"Install/HealthTimeout", {"1", "3600"}, {"0", "3601"}},
      {"WebServer/DebugPort", {"0", "65535"}, {"-1", "65536"}},
      {"Install/HealthUrl", {"", "https://a/h"}, {"http://", "http:///h", "ftp://a", "http://a b"}},
  };
  for (const auto& c : cases) {
    for (const std::string& value : c.accepted)
      EXPECT_TRUE(SettingsSchema::Find(c.path)->Accepts(value)) << c.path << " " << value;
    for (const std::string& value : c.refused)
      EXPECT_FALSE(SettingsSchema::Find(c.path)->Accepts(value)) << c.path << " " << value;
  }
}
