#include "app/Settings.h"
#include "app/SettingsPath.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"

namespace {

// The canonical form: keys sorted, a tab per level, whole numbers plain and others with six
// decimals, unknown keys kept.
const char* const SAMPLE =
    "{\n\t\"Docker\": {\n\t\t\"Path\": \"/opt/\",\n\t\t\"Ratio\": 3.700000,\n"
    "\t\t\"Secure\": false\n\t},\n\t\"Extra\": \"kept\",\n\t\"WebServer\": {\n\t\t\"Port\": "
    "8080\n\t}\n}";

// A settings store over "Settings.json" in a fresh folder, loaded.
struct Store {
  explicit Store(const std::string& content = SAMPLE) {
    dir.Write("Settings.json", content);
    settings.Load();
  }
  std::string File() const { return dir.File("Settings.json"); }
  size_t FilesIn(const std::string& folder) const {
    return std::distance(std::filesystem::directory_iterator(folder), {});
  }

  TempDir dir;
  LogCapture log;
  Settings settings{log.Get(), File()};
};

}  // namespace

TEST(Settings, ReadsEveryKindRefusesBadPathsAndMarksOnlyRealChanges) {
  Store store;
  Settings& settings = store.settings;
  EXPECT_EQ(settings.GetString(SettingsPath::DockerPath), "/opt/");
  EXPECT_DOUBLE_EQ(settings.GetDouble(SettingsPath::WebServerPort), 8080.0);
  EXPECT_EQ(settings.GetInteger("Docker/Ratio"), 3);
  EXPECT_EQ(Thrown([&] { settings.GetString("Docker/Url"); }), "Key not in a map");
  EXPECT_EQ(Thrown([&] { settings.GetInteger("Extra/Deeper"); }), "Invalid setting key.");
  EXPECT_NE(Thrown([&] { settings.SetString("WebServer/Port", "x"); }), "");
  settings.SetString("Docker/Path", "/opt/");  // the stored values once more
  settings.SetInteger("Docker/Ratio", 3);      // 3.7 read as an integer is 3
  settings.SetBoolean("Docker/Secure", false);
  EXPECT_FALSE(settings.IsModified());
  EXPECT_DOUBLE_EQ(settings.GetDouble("Docker/Ratio"), 3.7);
  settings.SetBoolean("Docker/Secure", true);
  EXPECT_TRUE(settings.IsModified());
  EXPECT_TRUE(settings.GetBoolean("Docker/Secure"));
}

TEST(Settings, ReloadReplacesTheTreeOnlyWhenTheFileReads) {
  Store store;
  store.settings.SetString("Docker/Path", "/srv/");
  store.dir.Write("Settings.json", "{\"Docker\": {\"Path\": \"/new/\"}}");
  store.settings.Load();
  EXPECT_FALSE(store.settings.IsModified());
  store.dir.Write("Settings.json", "{\"Docker\": ");
  EXPECT_EQ(Thrown([&] { store.settings.Load(); }), "Unexpected Json end");
  EXPECT_EQ(store.settings.GetString("Docker/Path"), "/new/");
}

TEST(Settings, SaveWritesTheCanonicalFormThroughLinksKeepingPermissions) {
  Store store(
      "{\"WebServer\":{\"Port\":8080},\"Extra\":\"kept\",\"Docker\":{\"Secure\":false,"
      "\"Ratio\":3.7,\"Path\":\"/opt/\"}}");
  std::string real = store.dir.File("real.json");
  store.dir.Write("real.json", "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.json", store.dir.File("link.json").c_str()), 0);
  store.settings.SetInteger("WebServer/Port", 8080);
  store.settings.Save(store.dir.File("link.json"));
  EXPECT_TRUE(std::filesystem::is_symlink(store.dir.File("link.json")));
  EXPECT_EQ(store.dir.Read("real.json"), SAMPLE);
  struct stat info;
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  store.settings.SetInteger("WebServer/Port", 1);
  store.settings.Save(real);
  EXPECT_TRUE(store.settings.IsModified());  // saving elsewhere keeps the flag
  store.settings.Save();
  EXPECT_FALSE(store.settings.IsModified());
}

TEST(Settings, FailedSaveLeavesTheOldFileAndNoLeftovers) {
  Store store;
  store.settings.SetInteger("WebServer/Port", 1);
  std::string folder = store.dir.File("sub");
  std::filesystem::create_directory(folder);
  store.dir.Write("sub/Settings.json", "old");
  std::filesystem::create_directory(store.dir.File("sub/dir.json"));
  std::vector<std::string> targets = {folder + "/dir.json", store.dir.File("none/x.json")};
  if (geteuid() != 0) {  // permission checks do not bind root
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    targets.push_back(folder + "/Settings.json");
  }
  for (const std::string& target : targets)
    EXPECT_EQ(Thrown([&] { store.settings.Save(target); }), "File not found") << target;
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(store.dir.Read("sub/Settings.json"), "old");
  EXPECT_EQ(store.FilesIn(folder), 2u);
  EXPECT_TRUE(store.settings.IsModified());
}

TEST(Settings, SaveRemovesOnlyTheTemporaryFilesThatKilledSavesLeftBehind) {
  Store store;
  for (const char* name : {".deployer-save-Ab12Cd", ".deployer-save-Held01", ".deployer-save-x"})
    store.dir.Write(name, "partial");
  int running = open(store.dir.File(".deployer-save-Held01").c_str(), O_RDONLY);  // a save at work
  ASSERT_EQ(flock(running, LOCK_EX), 0);
  store.settings.Save();
  close(running);
  EXPECT_FALSE(std::filesystem::exists(store.dir.File(".deployer-save-Ab12Cd")));
  EXPECT_TRUE(std::filesystem::exists(store.dir.File(".deployer-save-Held01")));
  EXPECT_TRUE(std::filesystem::exists(store.dir.File(".deployer-save-x")));
}

// Root may create files in any folder, so the save runs as the unprivileged user nobody there.
TEST(Settings, SaveWritesInPlaceWhereOnlyTheFileIsWritable) {
  Store store;
  store.settings.SetInteger("WebServer/Port", 1);
  ASSERT_EQ(chmod(store.File().c_str(), 0666), 0);
  ASSERT_EQ(chmod(store.dir.Path().c_str(), 0555), 0);
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
      _exit(3);
    if (access(store.File().c_str(), W_OK) != 0 || access(store.dir.Path().c_str(), W_OK) == 0)
      _exit(3);
    try {
      store.settings.Save();
      _exit(0);
    } catch (...) {
      _exit(1);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  chmod(store.dir.Path().c_str(), 0755);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
    GTEST_SKIP() << "no user here for whom the folder is read-only and the file writable";
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(store.dir.Read("Settings.json").find("\"Port\": 1\n"), std::string::npos);
  EXPECT_EQ(store.FilesIn(store.dir.Path()), 1u);
  EXPECT_EQ(store.log.Take().back(),
            "Settings::Save could not save " + store.File() +
                " atomically (no temporary file in its folder); it was written in place.");
}
