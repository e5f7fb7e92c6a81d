#include "cli/SettingsCommands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
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

// A copy of the shipped settings (or of json), loaded, with its file made a day old.
struct Store {
  explicit Store(const std::string& json = "") {
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json", File());
    if (!json.empty())
      dir.Write("Settings.json", json);
    utimbuf old{86400, 86400};
    utime(File().c_str(), &old);
    settings.Load();
    before = Bytes();
  }
  std::string File() const { return dir.File("Settings.json"); }
  std::string Bytes() const { return dir.Read("Settings.json"); }
  struct stat Stat() const {
    struct stat info {};
    stat(File().c_str(), &info);
    return info;
  }
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

TEST(SettingsCommands, ShowsEverySettingInTableOrder) {
  Store store;
  std::ostringstream out;
  EXPECT_EQ(store.commands.Show(out), 0);
  std::string shown = out.str();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 21);
  EXPECT_EQ(shown.find("Connection/Base=vaq_app\nConnection/Server=localhost\n"), 0u);
  EXPECT_NE(shown.find("\nWebServer/Port=8080\nWebServer/Sha256=\n"), std::string::npos);
}

TEST(SettingsCommands, GetsOneValueOrNamesAnUnknownPath) {
  Store store;
  struct Case {
    const char* path;
    Outcome expected;
  } cases[] = {
      {"WebServer/Type", {0, "nginx\n", ""}},
      {"Install/Port", {0, "8090\n", ""}},
      {"WebServer/port", {2, "", "Unknown setting \"WebServer/port\".\n"}},
  };
  for (const Case& c : cases) {
    Outcome got = store.Get(c.path);
    EXPECT_EQ(got.status, c.expected.status) << c.path;
    EXPECT_EQ(got.out, c.expected.out) << c.path;
    EXPECT_EQ(got.err, c.expected.err) << c.path;
  }
}

TEST(SettingsCommands, SavesAnAcceptedValueInItsStoredForm) {
  struct Case {
    const char *path, *value, *stored;
  } cases[] = {
      {"Connection/Type", "0", "0"},
      {"Patch/Version", "24.3", "24.3"},
      {"WebServer/DebugPort", "0", "0"},
      {"WebServer/Port", "08081", "8081"},
      {"WebServer/Type", "no_http", "no_http"},
  };
  for (const Case& c : cases) {
    Store store;
    EXPECT_EQ(store.Set({{c.path, c.value}}).status, 0) << c.path << " " << c.value;
    EXPECT_EQ(store.Saved(c.path), std::string(c.stored) + "\n") << c.path << " " << c.value;
  }
}

TEST(SettingsCommands, RefusesAValueOutsideItsRuleNamingThePathAndTheRule) {
  const char *line = "one line of text", *filled = "one line of text, not empty",
             *port = "a whole number from 1 to 65535",
             *debugPort = "a whole number from 0 (no debugging) to 65535",
             *version = "a version of 2 to 4 whole numbers joined by dots, such as 24.2.0.0",
             *patchTemplate = "one line of text holding * where the version goes",
             *database = "one of 0 (MS SQL), 1 (Oracle), 2 (SQLite), 3 (PostgreSQL)",
             *webServer = "one of angie, apache2, nginx, no_http",
             *software = "one of docker, podman",
             *checksum = "empty or a SHA-256 digest of 64 hexadecimal digits";
  struct Case {
    const char *path, *value, *rule;
  } cases[] = {
      {"Connection/Server", "db\nhost", line},
      {"Docker/Path", "", filled},
      {"Install/Port", "0", port},
      {"WebServer/Port", "65536", port},
      {"WebServer/DebugPort", "-1", debugPort},
      {"Patch/Version", "24.x.0", version},
      {"Patch/Template", "patch.zip", patchTemplate},
      {"Connection/Type", "4", database},
      {"WebServer/Type", "Nginx", webServer},
      {"WebServer/ContSoft", "lxc", software},
      {"Patch/Sha256", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaag",
       checksum},
      {"WebServer/Sha256", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
       checksum},
  };
  for (const Case& c : cases) {
    Store store;
    Outcome got = store.Set({{c.path, c.value}});
    EXPECT_EQ(got.status, 2) << c.path;
    EXPECT_EQ(got.out, "") << c.path;
    EXPECT_EQ(got.err, "Refused " + std::string(c.path) + " \"" + c.value + "\": it must be " +
                           c.rule + ".\n");
    EXPECT_EQ(store.Bytes(), store.before) << c.path;
  }
}

TEST(SettingsCommands, OneRefusedValueOrUnknownPathStoresNoneOfItsCall) {
  for (const char* refused : {"Docker/Path", "Docker/Tag"}) {
    Store store;
    Outcome got = store.Set({{"WebServer/Port", "8081"}, {refused, ""}});
    EXPECT_EQ(got.status, 2);
    EXPECT_EQ(got.out, "");
    EXPECT_NE(got.err.find(refused), std::string::npos);
    EXPECT_EQ(store.Bytes(), store.before);
    EXPECT_EQ(store.settings.GetInteger("WebServer/Port"), 8080);
    EXPECT_FALSE(store.settings.IsModified());
  }
}

TEST(SettingsCommands, PrintsEachChangedValueInTheOrderGivenAndSavesThemAll) {
  Store store;
  Outcome got = store.Set({{"WebServer/Port", "8081"},
                           {"Patch/Url", "http://downloads.example.com/patches"},
                           {"Connection/Type", "1"},
                           {"WebServer/Port", "8082"},
                           {"Install/Catalog", ""}});
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out,
            "WebServer/Port: 8080 -> 8082\n"
            "Connection/Type: 3 -> 1\n"
            "Install/Catalog: /var/lib/vaq/catalog -> \n");
  EXPECT_EQ(store.Saved("WebServer/Port"), "8082\n");
  EXPECT_EQ(store.Saved("Connection/Type"), "1\n");
  EXPECT_FALSE(store.settings.IsModified());
}

TEST(SettingsCommands, SettingStoredValuesAgainPrintsNothingAndLeavesTheFileAlone) {
  Store store;
  struct stat before = store.Stat();
  Outcome got = store.Set({{"WebServer/Port", "08080"},
                           {"WebServer/Type", "nginx"},
                           {"Install/Port", "9000"},
                           {"Install/Port", "8090"}});
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out + got.err, "");
  struct stat after = store.Stat();
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtime, before.st_mtime);
  EXPECT_EQ(store.Bytes(), store.before);
}

// As in the forms, a stored value passes as it is, so what show prints can always be set back.
TEST(SettingsCommands, SetsBackWhatItShowsEvenOutsideTheRules) {
  Store shipped;
  std::string json = shipped.Bytes();
  for (auto [from, to] : {std::pair{"8080", "70000"}, {"\"nginx\"", "\"iis\""}, {"/opt/", ""}})
    json.replace(json.find(from), std::string(from).size(), to);
  Store store(json);
  std::ostringstream shown;
  store.commands.Show(shown);
  Pairs pairs;
  std::istringstream lines(shown.str());
  for (std::string line; std::getline(lines, line);)
    pairs.emplace_back(line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
  Outcome got = store.Set(pairs);
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out + got.err, "");
  EXPECT_EQ(store.Bytes(), store.before);
}

TEST(SettingsCommands, ReportsAFileThatCannotBeSaved) {
  Store store;
  std::filesystem::remove(store.File());
  std::filesystem::create_directory(store.File());
  Outcome got = store.Set({{"WebServer/Port", "8081"}});
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.out, "");
  EXPECT_EQ(got.err, "Settings not saved: File not found\n");
}

TEST(SettingsCommands, AddsAChecksumKeyOnlyForAValueAndStoresItInLowerCase) {
  Store store;
  EXPECT_EQ(store.Set({{"Patch/Sha256", ""}}).out, "");
  EXPECT_EQ(store.Bytes(), store.before);
  std::string digest(64, 'A');
  Outcome got = store.Set({{"Patch/Sha256", digest}});
  EXPECT_EQ(got.out, "Patch/Sha256:  -> " + std::string(64, 'a') + "\n");
  EXPECT_EQ(store.Saved("Patch/Sha256"), std::string(64, 'a') + "\n");
  EXPECT_NE(store.Bytes().find("\"Sha256\": \"" + std::string(64, 'a') + "\""), std::string::npos);
  EXPECT_EQ(store.Set({{"Patch/Sha256", digest}}).out, "");
}
