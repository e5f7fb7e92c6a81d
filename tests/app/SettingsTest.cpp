#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/Logger.h"
#include "support/TempDir.h"

namespace {

const char* const SAMPLE =
    "{\n"
    "\t\"Docker\": {\n"
    "\t\t\"Path\": \"/opt/\",\n"
    "\t\t\"Ratio\": 3.700000,\n"
    "\t\t\"Secure\": false\n"
    "\t},\n"
    "\t\"Extra\": \"kept\",\n"
    "\t\"WebServer\": {\n"
    "\t\t\"Port\": 8080\n"
    "\t}\n"
    "}";

// A settings store over "Settings.json" in a fresh folder, with its own log.
class Store {
 public:
  explicit Store(const std::string& content = SAMPLE) {
    dir.Write("Settings.json", content);
    logger = std::make_unique<Logger>(dir.File("log.txt"));
    settings = std::make_unique<Settings>(logger.get(), File());
  }
  std::string File() const { return dir.File("Settings.json"); }
  std::string Log() {
    settings.reset();
    logger.reset();
    return dir.Read("log.txt");
  }
  std::string Failure(void (*action)(Settings*)) {
    try {
      action(settings.get());
    } catch (const char* message) {
      return message;
    }
    return "";
  }

  TempDir dir;
  std::unique_ptr<Logger> logger;
  std::unique_ptr<Settings> settings;
};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Settings, ReadsValuesOfEveryKindByPath) {
  Store store;
  store.settings->Load();
  EXPECT_EQ(store.settings->GetString(Settings::Docker + "/Path"), "/opt/");
  EXPECT_EQ(store.settings->GetInteger(Settings::WebServer + "/Port"), 8080);
  EXPECT_DOUBLE_EQ(store.settings->GetDouble(Settings::WebServer + "/Port"), 8080.0);
  EXPECT_EQ(store.settings->GetInteger(Settings::Docker + "/Ratio"), 3);
  EXPECT_FALSE(store.settings->GetBoolean(Settings::Docker + "/Secure"));
  EXPECT_FALSE(store.settings->IsModified());
  EXPECT_TRUE(contains(store.Log(), "Settings::Load main setting count 3."));
}

TEST(Settings, SetterChangesValueLogsAndMarksModified) {
  Store store;
  store.settings->Load();
  store.settings->SetString("Docker/Path", "/srv/");
  store.settings->SetInteger("WebServer/Port", 9090);
  store.settings->SetBoolean("Docker/Secure", true);
  store.settings->SetDouble("Docker/Ratio", 1.5);
  EXPECT_TRUE(store.settings->IsModified());
  EXPECT_EQ(store.settings->GetString("Docker/Path"), "/srv/");
  std::string log = store.Log();
  for (const char* line :
       {"Settings::SetString Docker/Path as /srv/.", "Settings::SetInteger WebServer/Port as 9090.",
        "Settings::SetBoolean Docker/Secure as true.",
        "Settings::SetDouble Docker/Ratio as 1.500000."})
    EXPECT_TRUE(contains(log, line)) << line;
}

TEST(Settings, SettingTheStoredValueChangesNothing) {
  Store store;
  store.settings->Load();
  store.settings->SetString("Docker/Path", "/opt/");
  store.settings->SetInteger("WebServer/Port", 8080);
  store.settings->SetInteger("Docker/Ratio", 3);  // 3.7 read as an integer is 3
  store.settings->SetBoolean("Docker/Secure", false);
  EXPECT_FALSE(store.settings->IsModified());
  EXPECT_DOUBLE_EQ(store.settings->GetDouble("Docker/Ratio"), 3.7);
  EXPECT_FALSE(contains(store.Log(), "Settings::Set"));
}

TEST(Settings, BadPathsFailWithTheDocumentedTexts) {
  Store store("{\"WebServer\": {\"Port\": 1}, \"Flat\": 5}");
  store.settings->Load();
  EXPECT_EQ(store.Failure([](Settings* s) { s->GetString("Docker/Url"); }), "Key not in a map");
  EXPECT_EQ(store.Failure([](Settings* s) { s->GetInteger("Flat/Deeper"); }),
            "Invalid setting key.");
  EXPECT_NE(store.Failure([](Settings* s) { s->GetInteger(""); }), "");
  EXPECT_NE(store.Failure([](Settings* s) { s->SetString("WebServer/Port", "x"); }), "");
  EXPECT_FALSE(store.settings->IsModified());
  EXPECT_EQ(store.settings->GetInteger("WebServer/Port"), 1);
  EXPECT_TRUE(contains(store.Log(), "Settings::find Deeper in Flat/Deeper is absent."));
}

TEST(Settings, LoadFailuresKeepTheEarlierTree) {
  Store store;
  store.settings->Load();
  store.dir.Write("Settings.json", "{\"Docker\": ");
  EXPECT_NE(store.Failure([](Settings* s) { s->Load(); }), "");
  std::filesystem::remove(store.File());
  EXPECT_EQ(store.Failure([](Settings* s) { s->Load(); }), "Fail when load settings");
  EXPECT_EQ(store.settings->GetString("Docker/Path"), "/opt/");
  EXPECT_TRUE(contains(store.Log(), "Can't open file " + store.File() + " with settings."));
}

TEST(Settings, ReloadReadsTheFileAgainWithoutClearingLines) {
  Store store;
  store.settings->Load();
  store.settings->SetString("Docker/Path", "/srv/");
  store.dir.Write("Settings.json", "{\"Docker\": {\"Path\": \"/new/\"}}");
  store.settings->Load();
  EXPECT_FALSE(store.settings->IsModified());
  EXPECT_EQ(store.settings->GetString("Docker/Path"), "/new/");
  store.logger->Write("reloaded");
  std::string log = store.Log();
  std::string beforeEnd = log.substr(0, log.find("reloaded"));
  EXPECT_FALSE(contains(beforeEnd, "Json::clear")) << log;
}

TEST(Settings, SaveWritesTheCanonicalForm) {
  Store store(
      "{\"WebServer\":{\"Port\":8080},\"Extra\":\"kept\",\"Docker\":{\"Secure\":false,"
      "\"Ratio\":3.7,\"Path\":\"/opt/\"}}");
  store.settings->Load();
  store.settings->SetString("Docker/Path", "/opt/");
  store.settings->Save(store.dir.File("copy.json"));
  EXPECT_EQ(store.dir.Read("copy.json"), SAMPLE);
  store.settings->SetInteger("WebServer/Port", 1);
  store.settings->Save(store.dir.File("copy.json"));
  EXPECT_TRUE(store.settings->IsModified());  // saving elsewhere keeps the flag
  store.settings->Save();
  EXPECT_FALSE(store.settings->IsModified());
  EXPECT_TRUE(contains(store.dir.Read("Settings.json"), "\"Port\": 1\n"));
}

TEST(Settings, SaveKeepsPermissionsAndFollowsSymbolicLinks) {
  Store store;
  store.settings->Load();
  std::string real = store.dir.File("real.json");
  store.dir.Write("real.json", "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.json", store.dir.File("link.json").c_str()), 0);
  store.settings->Save(store.dir.File("link.json"));
  EXPECT_TRUE(std::filesystem::is_symlink(store.dir.File("link.json")));
  EXPECT_EQ(store.dir.Read("real.json"), SAMPLE);
  struct stat info;
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(Settings, FailedSaveLeavesTheOldFileAndNoLeftovers) {
  Store store;
  store.settings->Load();
  store.settings->SetInteger("WebServer/Port", 1);
  std::string folder = store.dir.File("sub");
  std::filesystem::create_directory(folder);
  store.dir.Write("sub/Settings.json", "old");
  std::filesystem::create_directory(store.dir.File("sub/dir.json"));
  std::vector<std::string> targets = {folder + "/dir.json", store.dir.File("none/x.json")};
  if (geteuid() != 0) {  // permission checks do not bind root
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    targets.push_back(folder + "/Settings.json");
  }
  for (const std::string& target : targets) {
    try {
      store.settings->Save(target);
      ADD_FAILURE() << target;
    } catch (const char* message) {
      EXPECT_STREQ(message, "File not found");
    }
  }
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(store.dir.Read("sub/Settings.json"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
  EXPECT_TRUE(store.settings->IsModified());
  EXPECT_TRUE(contains(store.Log(), "Can't open file " + folder + "/dir.json to save settings."));
}
