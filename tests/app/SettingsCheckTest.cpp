#include "app/SettingsCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/Settings.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

// The shipped settings with one piece replaced: nothing refused, or one line naming the entry,
// what it holds and its rule. Unknown keys and an absent checksum pass.
TEST(SettingsCheck, NamesEachEntryOfTheWrongKindOrOutsideItsRule) {
  const struct {
    const char *from, *to, *problem;
  } cases[] = {
      {"\"Type\": 3", "\"Type\": 3, \"Extra\": [1]", nullptr},
      {"\"Type\": 3", "\"Type\": \"3\"", "Connection/Type is the text \"3\"; it must be one of 0"},
      {"vaq-web_d2.tar.gz", "..", "WebServer/Url is the text \"http://downloads.example.com/"},
      {"\"Version\": \"24.2.0.0\"", "\"V\": 1", "Patch/Version is absent; it must be"},
      {"\"DLL\": \"web_core.dll\"", "\"DLL\": true", "Install/DLL is true; it must be"},
      {"\"DLL\"", "\"HealthTimeout\": 0, \"DLL\"", "Install/HealthTimeout is the number 0;"},
  };
  for (const auto& c : cases) {
    std::ifstream in(DEPLOYER_SOURCE_DIR "/share/Settings.json");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    TempDir dir;
    dir.Write("Settings.json", text.replace(text.find(c.from), strlen(c.from), c.to));
    LogCapture log;
    Settings settings(log.Get(), dir.File("Settings.json"));
    settings.Load();
    std::vector<std::string> problems = SettingsCheck::Problems(&settings);
    ASSERT_EQ(problems.size(), c.problem ? 1u : 0u) << c.to;
    if (c.problem) {
      EXPECT_EQ(problems[0].find(c.problem), 0u) << problems[0];
    }
  }
}
