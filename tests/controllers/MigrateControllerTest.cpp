#include "controllers/MigrateController.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "controllers/ControllerFixture.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class MigrateControllerTest : public ControllerFixture {
 protected:
  MigrateControllerTest() { Open(); }

  // The other installation's settings: the current ones with the given changes, in old.json.
  void WriteSource(const std::function<void(Settings&)>& change) {
    fs::copy_file(site.Path("app/Settings.json"), site.Path("app/old.json"),
                  fs::copy_options::overwrite_existing);
    Settings source(logger.get(), site.Path("app/old.json"));
    source.Load();
    change(source);
    source.Save();
  }

  std::string Migrate(bool deleteOld, const std::string& path = "old.json") {
    return Run<MigrateController>(Arguments(false, false, false, path, deleteOld));
  }

  std::string Saved(const std::string& path) {
    Settings saved(logger.get(), site.Path("app/Settings.json"));
    saved.Load();
    return saved.GetString(path);
  }
};

// The settings are taken over but the download addresses, which stay this server's own. A dry run
// prints exactly the commands the real run logs as run, and runs and changes nothing; the real
// delete comes between saving and done.
TEST_F(MigrateControllerTest, TakesOverTheSettingsAndDeletesTheOtherInstallation) {
  WriteSource([&](Settings& source) {
    source.SetString("WebServer/Path", site.Path("old") + "/");
    source.SetString("Docker/Path", site.Path("old") + "/");
    source.SetInteger("WebServer/Port", 8181);
    source.SetInteger("Install/Port", 7070);
    source.SetString("Patch/Version", "24.2.0.17");
    source.SetString("Docker/Url", "http://old/runtime.tar.gz");
  });
  site.MakeControlDirectory(site.Path("old/web_8181/ctl"), 0, 0, 0);
  site.WriteScript(site.Path("old/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("old/runtime/uninstall.sh"), "runtime/uninstall.sh", 0);
  std::string before = ReadFile(site.Path("app/Settings.json"));
  dryRun = true;
  std::string printed = Migrate(true);
  dryRun = false;
  EXPECT_EQ(Records(), "");
  EXPECT_EQ(ReadFile(site.Path("app/Settings.json")), before);
  EXPECT_TRUE(fs::exists(site.Path("old/web_8181")) &&
              !fs::exists(site.Path("app/Settings.json.bak")));
  Open();
  std::string output = Migrate(true), expected;
  size_t saving = output.find("<yellow>MIGRATE_SAVE</>\n");
  EXPECT_NE(output.find("<green>DELETED</>\n<green>MIGRATE_DONE</>\n", saving), std::string::npos)
      << output;
  EXPECT_EQ(Records(),
            "ws_delapp.sh [-p] [7070]\nvaq-web/uninstall.sh [-p] [8181]\n"
            "runtime/uninstall.sh\n");
  EXPECT_FALSE(fs::exists(site.Path("old/web_8181")));
  EXPECT_TRUE(succeeded);
  EXPECT_EQ(ReadFile(site.Path("app/Settings.json.bak")), before);
  EXPECT_EQ(Saved("WebServer/Path"), site.Path("old") + "/");
  EXPECT_EQ(Saved("Patch/Version"), "24.2.0.17");
  EXPECT_EQ(Saved("Docker/Url"), site.Url(DeploymentSite::RUNTIME_ARCHIVE));
  for (const std::string& line : LoggedCommands(Normalised(Log())))
    expected += line + "\n";
  EXPECT_EQ(printed, expected);
}

// A file that does not load or holds a value outside its rule, or the current settings file
// however named, ends it unchanged.
TEST_F(MigrateControllerTest, RefusesTheCurrentSettingsFileHoweverItIsNamed) {
  fs::create_symlink(site.Path("app/Settings.json"), site.Path("app/linked.json"));
  fs::create_hard_link(site.Path("app/Settings.json"), site.Path("app/hard.json"));
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  std::string before = ReadFile(site.Path("app/Settings.json"));
  settings->SetString("Install/Catalog", "unsaved");
  // The working folder's own name, reached from its parent.
  std::string roundabout = "../" + fs::current_path().filename().string() + "/Settings.json";
  site.SetLiteral("Connection/Type", "\"3\"");
  std::string refused = site.WriteSettings("refused.json");
  for (const std::string& path : {std::string("missing.json"), refused, roundabout,
                                  std::string("linked.json"), std::string("hard.json")}) {
    MigrateController controller(Arguments(false, false, false, path, true), &programVersion);
    testing::internal::CaptureStdout();
    EXPECT_THROW(controller.Execute(), const char*) << path;
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(controller.Succeeded());
  }
  EXPECT_EQ(Records(), "");
  EXPECT_TRUE(fs::exists(ControlPath()));
  EXPECT_EQ(ReadFile(site.Path("app/Settings.json")), before);
}

}  // namespace
