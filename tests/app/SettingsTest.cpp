#include "app/Settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/ChildOutput.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"
#include "support/Tmpfs.h"

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

// Runs the store's Save in a child process, as the user nobody when this is root (for whom every
// folder is writable), under a file size limit when one is given; returns what it threw, "" when
// it saved, or "no user" when the child could not become nobody.
std::string saveInChild(Store& store, bool asNobody, rlim_t sizeLimit = RLIM_INFINITY) {
  return ChildOutput([&](int fd) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{sizeLimit, sizeLimit};
    std::string thrown = "no user";
    if ((!asNobody || geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0)) &&
        setrlimit(RLIMIT_FSIZE, &limit) == 0)
      thrown = Thrown([&] { store.settings.Save(); });
    _exit(write(fd, thrown.data(), thrown.size()) < 0);
  });
}

const std::string SHORT_SETTINGS = "{\n\t\"Extra\": \"" + std::string(5000, 'o') + "\"\n}";

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
  EXPECT_EQ(Thrown([&] { store.settings.Save(store.dir.File("taken.json")); }), "Is a directory");
  EXPECT_EQ(store.FilesIn(), 4u);
  // No save holds either, but a save may have made the fresh one a moment ago and not yet locked
  // it.
  store.dir.Write(".deployer-save-AbC123", "left by a killed save");
  store.dir.Write(".deployer-save-Fresh1", "just made by another save");
  std::filesystem::last_write_time(
      store.dir.File(".deployer-save-AbC123"),
      std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
  store.settings.Save();
  EXPECT_FALSE(std::filesystem::exists(store.dir.File(".deployer-save-AbC123")));
  EXPECT_TRUE(std::filesystem::exists(store.dir.File(".deployer-save-Fresh1")));
}

// The cause of a failed save is what it throws, and the file is left byte for byte as it was,
// whether the save went through a temporary file (as root) or wrote in place (as nobody, in a
// folder that takes no new file, where a save without a fault writes in place and says so).
TEST(Settings, AFailedSaveNamesItsCauseAndLeavesTheFileAsItWas) {
  enum Medium { FullDisk, ReadOnlyDisk, SizeLimit, ReadOnlyFile, Writable };
  const struct {
    Medium medium;
    bool asNobody;
    const char* reason;
  } cases[] = {
      {FullDisk, false, "No space left on device"},
      {FullDisk, true, "No space left on device"},
      {ReadOnlyDisk, false, "Read-only file system"},
      {SizeLimit, false, "File too large"},
      {SizeLimit, true, "File too large"},
      {ReadOnlyFile, true, "Permission denied"},
      {Writable, true, ""},
  };
  for (const auto& c : cases) {
    Store store(SHORT_SETTINGS);
    Tmpfs disk(store.dir.Path(), "64k");
    if (c.medium <= ReadOnlyDisk && !disk.Mounted()) {
      std::cout << "A case skipped: mount is not permitted here.\n";
      continue;
    }
    store.dir.Write("Settings.json", SHORT_SETTINGS);
    store.settings.SetString("Extra", std::string(10000, 'n'));  // needs more blocks
    if (c.medium == FullDisk)
      disk.Fill();
    ASSERT_TRUE(c.medium != ReadOnlyDisk || disk.MakeReadOnly());
    if (c.asNobody || c.medium == ReadOnlyFile) {
      ASSERT_EQ(chmod(store.File().c_str(), c.medium == ReadOnlyFile ? 0644 : 0666), 0);
      ASSERT_EQ(chmod(store.dir.Path().c_str(), 0555), 0);
    }
    std::string thrown =
        saveInChild(store, c.asNobody, c.medium == SizeLimit ? 8192 : RLIM_INFINITY);
    chmod(store.dir.Path().c_str(), 0755);
    if (thrown == "no user")
      continue;
    EXPECT_EQ(thrown, c.reason) << c.medium << c.asNobody;
    EXPECT_EQ(store.dir.Read("Settings.json") == SHORT_SETTINGS, c.medium != Writable) << c.medium;
    EXPECT_EQ(store.FilesIn(), c.medium == FullDisk ? 2u : 1u) << c.medium << c.asNobody;
    if (c.medium == Writable) {
      EXPECT_EQ(store.log.Take().back(), "Settings::Save could not save " + store.File() +
                                             " atomically (no temporary file in its folder); it "
                                             "was written in place.");
    }
  }
}
