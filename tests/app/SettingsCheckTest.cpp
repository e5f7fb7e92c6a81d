#include "app/SettingsCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/Settings.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"

namespace {

// The shipped settings with one piece of text replaced, loaded from a fresh folder.
struct Edited {
  Edited(const std::string& from, const std::string& to) {
    std::ifstream in(DEPLOYER_SOURCE_DIR "/share/Settings.json");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    if (!from.empty())
      text.replace(text.find(from), from.size(), to);
    dir.Write("Settings.json", text);
    settings.Load();
  }

  TempDir dir;
  LogCapture log;
  Settings settings{log.Get(), dir.File("Settings.json")};
};

TEST(SettingsCheck, ShippedSettingsAndUnknownKeysAndAnAbsentChecksumPass) {
  Edited shipped("\"Type\": 3", "\"Type\": 3, \"Extra\": [1, \"x\"]");
  EXPECT_TRUE(SettingsCheck::Problems(&shipped.settings).empty());
  EXPECT_NO_THROW(SettingsCheck::Check(&shipped.settings, shipped.log.Get(), "Settings.json"));
}

TEST(SettingsCheck, RefusesAWrongKindAnOutOfRangeValueOrANameThatLeavesItsFolder) {
  const struct {
    const char *from, *to, *problem;
  } cases[] = {
      {"\"Type\": 3", "\"Type\": \"3\"", "Connection/Type is the text \"3\"; it must be one of 0"},
      {"8090", "70000", "Install/Port is the number 70000; it must be a whole number from 1 to"},
      {"8080", "80.5", "WebServer/Port is the number 80.5; it must be"},
      {"\"nginx\"", "\"-x\"", "WebServer/Type is the text \"-x\"; it must be one of angie,"},
      {"vaq-app-*.sh", "../../../tmp/victim-*", "Patch/Template is the text \"../../../tmp/"},
      {"vaq-web_d2.tar.gz", "", "WebServer/Url is the text \"http://downloads.example.com/"},
      {"docker-27.3.1.tar.gz", "..", "Docker/Url is the text"},
      {"\"Version\": \"24.2.0.0\"", "\"Other\": 1", "Patch/Version is absent; it must be"},
      {"\"DLL\": \"web_core.dll\"", "\"DLL\": true", "Install/DLL is true; it must be"},
  };
  for (const auto& c : cases) {
    Edited edited(c.from, c.to);
    std::vector<std::string> problems = SettingsCheck::Problems(&edited.settings);
    ASSERT_EQ(problems.size(), 1u) << c.to;
    EXPECT_EQ(problems[0].find(c.problem), 0u) << problems[0];
    EXPECT_EQ(
        Thrown([&] { SettingsCheck::Check(&edited.settings, edited.log.Get(), "Settings.json"); }),
        "Invalid settings");
    EXPECT_EQ(edited.log.Take().back(), "SettingsCheck Settings.json: " + problems[0]);
  }
}

}  // namespace
