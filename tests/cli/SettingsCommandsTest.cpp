#include "cli/SettingsCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/Settings.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
  int status;
  std::string out, err;
};

// A copy of the shipped settings (or of json), loaded.
struct Store {
  explicit Store(const std::string& json = "") {
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json", File());
    if (!json.empty())
      dir.Write("Settings.json", json);
    settings.Load();
    before = Bytes();
  }
  std::string File() const { return dir.File("Settings.json"); }
  std::string Bytes() const { return dir.Read("Settings.json"); }
  Outcome Set(const Pairs& pairs) {
    std::ostringstream out, err;
    int status = commands.Set(pairs, out, err);
    return {status, out.str(), err.str()};
  }
  Outcome Get(const std::string& path) {
    std::ostringstream out, err;
    int status = commands.Get(path, out, err);
    return {status, out.str(), err.str()};
  }
  // The value the file holds, as a fresh load reads it.
  std::string Saved(const std::string& path) {
    Settings reloaded(log.Get(), File());
    reloaded.Load();
    SettingsCommands fresh(&reloaded);
    std::ostringstream out, err;
    fresh.Get(path, out, err);
    return out.str();
  }

  TempDir dir;
  LogCapture log;
  Settings settings{log.Get(), File()};
  SettingsCommands commands{&settings};
  std::string before;
};

}  // namespace

TEST(SettingsCommands, GetsOneValueOrNamesAnUnknownPath) {
  Store store;
  Outcome got = store.Get("Install/Port");
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "8090\n");
  got = store.Get("WebServer/port");
  EXPECT_EQ(got.status, 2);
  EXPECT_EQ(got.err, "deployer: Unknown setting \"WebServer/port\".\n");
}

TEST(SettingsCommands, SavesAnAcceptedValueInItsStoredForm) {
  struct Case {
    std::string path, value, stored;
  } cases[] = {
      {"WebServer/Port", "08081", "8081"},
      {"Patch/Sha256", std::string(64, 'A'), std::string(64, 'a')},
  };
  for (const Case& c : cases) {
    Store store;
    EXPECT_EQ(store.Set({{c.path, c.value}}).status, 0) << c.path;
    EXPECT_EQ(store.Saved(c.path), c.stored + "\n") << c.path;
  }
}

TEST(SettingsCommands, RefusesAValueOutsideItsRuleNamingThePathAndTheRuleAndChangesNothing) {
  struct Case {
    const char *path, *value, *rule;
  } cases[] = {
      {"WebServer/Port", "65536", "a whole number from 1 to 65535"},
      {"WebServer/Type", "Nginx", "one of angie, apache2, nginx, no_http"},
      {"Patch/Url", "", "one line of text, not empty"},
      {"Install/ComplexId", "", "one line of text, not empty"},
      {"WebServer/Path", "", "one line of text, not empty"},
  };
  for (const Case& c : cases) {
    Store store;
    Outcome got = store.Set({{"Install/Port", "9191"}, {c.path, c.value}});
    EXPECT_EQ(got.status, 2) << c.path;
    EXPECT_EQ(got.out, "") << c.path;
    EXPECT_EQ(got.err, "deployer: Refused " + std::string(c.path) + " \"" + c.value +
                           "\": it must be " + c.rule + ".\n");
    EXPECT_EQ(store.Bytes(), store.before) << c.path;
    EXPECT_FALSE(store.settings.IsModified());
  }
}

TEST(SettingsCommands, StoresAnAddressNothingWouldFetchWithAWarning) {
  struct Case {
    const char* value;
    bool warned;
  } cases[] = {{"not a url", true},
               {"https://mirror.example/patches", false},
               {"/srv/mirror/patches", false},
               {"file:///srv/mirror/patches", false}};
  for (const Case& c : cases) {
    Store store;
    Outcome got = store.Set({{"Patch/Url", c.value}});
    EXPECT_EQ(got.status, 0) << c.value;
    EXPECT_EQ(store.Saved("Patch/Url"), std::string(c.value) + "\n");
    EXPECT_EQ(got.err.rfind("deployer: warning: Patch/Url \"", 0) == 0, c.warned) << got.err;
  }
}

TEST(SettingsCommands, PrintsEachChangedValueInTheOrderGivenAndSavesThemAll) {
  Store store;
  Outcome got = store.Set({{"WebServer/Port", "8081"},
                           {"Connection/Type", "1"},
                           {"WebServer/Port", "8082"},
                           {"Install/Port", "8090"}});
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "WebServer/Port: 8080 -> 8082\nConnection/Type: 3 -> 1\n");
  EXPECT_EQ(store.Saved("WebServer/Port"), "8082\n");
}

TEST(SettingsCommands, ShowsAndGetsControlCharactersOfAHandEditedFileEscaped) {
  Store shipped;
  std::string json = shipped.Bytes();
  json.replace(json.find("\"nginx\""), 7, "\"ng\\u001b[2Jin'x\\r\"");
  Store store(json);
  const std::string escaped = "$'ng\\x1b[2Jin\\'x\\x0d'\n";
  EXPECT_EQ(store.Get("WebServer/Type").out, escaped);
  std::ostringstream shown;
  store.commands.Show(shown);
  EXPECT_NE(shown.str().find("\nWebServer/Type=" + escaped), std::string::npos) << shown.str();
}
