#include "app/Settings.h"

#include <gtest/gtest.h>
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
  size_t FilesIn() const {
    return std::distance(std::filesystem::directory_iterator(dir.Path()), {});
  }

  TempDir dir;
  LogCapture log;
  Settings settings{log.Get(), File()};
};

}  // namespace

// The file is replaced whole or not at all.
TEST(Settings, SaveWritesTheCanonicalFormThroughLinksKeepingPermissionsAndLeavesNoLeftovers) {
  Store store(
      "{\"WebServer\":{\"Port\":8080},\"Extra\":\"kept\",\"Docker\":{\"Secure\":false,"
      "\"Ratio\":3.7,\"Path\":\"/opt/\"}}");
  std::string real = store.dir.File("real.json");
  store.dir.Write("real.json", "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.json", store.dir.File("link.json").c_str()), 0);
  store.settings.Save(store.dir.File("link.json"));
  EXPECT_TRUE(std::filesystem::is_symlink(store.dir.File("link.json")));
  EXPECT_EQ(store.dir.Read("real.json"), SAMPLE);
  struct stat info;
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  std::filesystem::create_directory(store.dir.File("taken.json"));
  EXPECT_EQ(Thrown([&] { store.settings.Save(store.dir.File("taken.json")); }), "File not found");
  EXPECT_EQ(store.FilesIn(), 4u);
  store.dir.Write(".deployer-save-AbC123", "left by a killed save");  // no save holds it
  store.settings.Save();
  EXPECT_FALSE(std::filesystem::exists(store.dir.File(".deployer-save-AbC123")));
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
    _exit(Thrown([&] { store.settings.Save(); }).empty() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  chmod(store.dir.Path().c_str(), 0755);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
    GTEST_SKIP() << "no user here for whom the folder is read-only and the file writable";
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(store.dir.Read("Settings.json").find("\"Port\": 1\n"), std::string::npos);
  EXPECT_EQ(store.FilesIn(), 1u);
  EXPECT_EQ(store.log.Take().back(),
            "Settings::Save could not save " + store.File() +
                " atomically (no temporary file in its folder); it was written in place.");
}
