#include "cli/SettingsCommands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

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
  EXPECT_EQ(out.str(), R"(Connection/Base=vaq_app
Connection/Server=localhost
Connection/Type=3
Docker/Path=/opt/
Docker/Url=http://downloads.example.com/runtime/docker-27.3.1.tar.gz
Install/Catalog=/var/lib/vaq/catalog
Install/ComplexId=tRQV
Install/DLL=web_core.dll
Install/Port=8090
Patch/Template=vaq-app-*.sh
Patch/Url=http://downloads.example.com/patches
Patch/Version=24.2.0.0
WebServer/ContSoft=docker
WebServer/DebugPort=1541
WebServer/Path=/opt/
WebServer/Port=8080
WebServer/Type=nginx
WebServer/Url=http://downloads.example.com/webserver/vaq-web_d2.tar.gz
)");
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
      {"WebServer", {2, "", "Unknown setting \"WebServer\".\n"}},
  };
  for (const Case& c : cases) {
    Outcome got = store.Get(c.path);
    EXPECT_EQ(got.status, c.expected.status) << c.path;
    EXPECT_EQ(got.out, c.expected.out) << c.path;
    EXPECT_EQ(got.err, c.expected.err) << c.path;
  }
}

// An accepted value is saved in its stored form; a refused one leaves the file as it was.
TEST(SettingsCommands, AcceptsOrRefusesEachValueByTheRuleOfItsSetting) {
  struct Case {
    const char* path;
    const char* value;
    const char* stored;  // null when refused
  } cases[] = {
      {"Connection/Base", "", ""},
      {"Connection/Server", "db\nhost", nullptr},
      {"Connection/Type", "0", "0"},
      {"Connection/Type", "4", nullptr},
      {"Connection/Type", "PostgreSQL", nullptr},
      {"Docker/Path", "", nullptr},
      {"Docker/Url", "http://h/d.tar.gz", "http://h/d.tar.gz"},
      {"Install/Catalog", "", ""},
      {"Install/ComplexId", "", nullptr},
      {"Install/DLL", "", nullptr},
      {"Install/Port", "1", "1"},
      {"Install/Port", "0", nullptr},
      {"Install/Port", "65536", nullptr},
      {"Patch/Template", "patch_*.zip", "patch_*.zip"},
      {"Patch/Template", "patch.zip", nullptr},
      {"Patch/Url", "", nullptr},
      {"Patch/Version", "24.3", "24.3"},
      {"Patch/Version", "24", nullptr},
      {"Patch/Version", "24.x.0", nullptr},
      {"WebServer/ContSoft", "podman", "podman"},
      {"WebServer/ContSoft", "Podman", nullptr},
      {"WebServer/DebugPort", "0", "0"},
      {"WebServer/DebugPort", "-1", nullptr},
      {"WebServer/DebugPort", "65536", nullptr},
      {"WebServer/Path", "", nullptr},
      {"WebServer/Port", "65535", "65535"},
      {"WebServer/Port", "08081", "8081"},
      {"WebServer/Port", "+8081", nullptr},
      {"WebServer/Port", "8081 ", nullptr},
      {"WebServer/Port", "4294975377", nullptr},
      {"WebServer/Type", "no_http", "no_http"},
      {"WebServer/Type", "iis", nullptr},
      {"WebServer/Url", "", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.value);
    Store store;
    Outcome got = store.Set({{c.path, c.value}});
    EXPECT_EQ(got.status, c.stored ? 0 : 2);
    EXPECT_EQ(got.err.empty(), c.stored != nullptr);
    if (c.stored)
      EXPECT_EQ(store.Saved(c.path), std::string(c.stored) + "\n");
    else
      EXPECT_EQ(store.Bytes(), store.before);
  }
}

TEST(SettingsCommands, NamesThePathAndTheRuleOfARefusal) {
  struct Case {
    const char* path;
    const char* value;
    const char* line;
  } cases[] = {
      {"Docker/Tag", "1", "Unknown setting \"Docker/Tag\"."},
      {"Connection/Server", "a\tb",
       "Refused Connection/Server \"a\tb\": it must be one line of text."},
      {"Docker/Url", "", "Refused Docker/Url \"\": it must be one line of text, not empty."},
      {"Patch/Template", "patch.zip",
       "Refused Patch/Template \"patch.zip\": it must be one line of text holding * where the "
       "version goes."},
      {"Patch/Version", "24",
       "Refused Patch/Version \"24\": it must be a version of 2 to 4 whole numbers joined by "
       "dots, such as 24.2.0.0."},
      {"Install/Port", "http",
       "Refused Install/Port \"http\": it must be a whole number from 1 to 65535."},
      {"WebServer/DebugPort", "-1",
       "Refused WebServer/DebugPort \"-1\": it must be a whole number from 0 (no debugging) to "
       "65535."},
      {"Connection/Type", "5",
       "Refused Connection/Type \"5\": it must be one of 0 (MS SQL), 1 (Oracle), 2 (SQLite), 3 "
       "(PostgreSQL)."},
      {"WebServer/Type", "iis",
       "Refused WebServer/Type \"iis\": it must be one of angie, apache2, nginx, no_http."},
      {"WebServer/ContSoft", "lxc",
       "Refused WebServer/ContSoft \"lxc\": it must be one of docker, podman."},
  };
  for (const Case& c : cases) {
    Store store;
    EXPECT_EQ(store.Set({{c.path, c.value}}).err, std::string(c.line) + "\n");
  }
}

TEST(SettingsCommands, OneRefusedValueStoresNoneOfItsCall) {
  Store store;
  Outcome got = store.Set({{"WebServer/Port", "8081"}, {"Docker/Path", ""}});
  EXPECT_EQ(got.status, 2);
  EXPECT_EQ(got.out, "");
  EXPECT_EQ(store.Bytes(), store.before);
  EXPECT_EQ(store.settings.GetInteger("WebServer/Port"), 8080);
  EXPECT_FALSE(store.settings.IsModified());
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
