#include <gtest/gtest.h>

#include <filesystem>

#include "app/Settings.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

// SettingsSchemaTest holds every shipped setting to its rule.
TEST(ShippedSettings, AreWrittenInTheCanonicalForm) {
  const std::string shipped = DEPLOYER_SOURCE_DIR "/share/Settings.json";
  LogCapture log;
  Settings settings(log.Get(), shipped);
  settings.Load();
  TempDir dir;
  std::filesystem::copy_file(shipped, dir.File("shipped.json"));
  settings.Save(dir.File("saved.json"));
  EXPECT_EQ(dir.Read("saved.json"), dir.Read("shipped.json"));
}
