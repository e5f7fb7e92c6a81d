#include "controllers/MigrateController.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class MigrateControllerTest : public ControllerFixture {
 protected:
  MigrateControllerTest() : savedInput(dup(0)) {
    Open();
    Input("\n");
  }

  ~MigrateControllerTest() override {
    dup2(savedInput, 0);
    close(savedInput);
    clearerr(stdin);
  }

  // Standard input reads the text from now on.
  void Input(const std::string& text) {
    std::ofstream(site.Path("input.txt"), std::ios::trunc) << text;
    int file = open(site.Path("input.txt").c_str(), O_RDONLY);
    dup2(file, 0);
    close(file);
    clearerr(stdin);
  }

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

  std::unique_ptr<Settings> Saved() {
    auto saved = std::make_unique<Settings>(logger.get(), site.Path("app/Settings.json"));
    saved->Load();
    return saved;
  }

  int savedInput;
};

// Every group is taken over but the download addresses, which stay this server's own.
TEST_F(MigrateControllerTest, CopiesTheOtherInstallationsSettingsAndSavesThem) {
  const std::pair<const char*, const char*> texts[] = {
      {"Patch/Version", "24.2.0.17"},  {"Patch/Template", "old-*.sh"},
      {"Install/ComplexId", "OLD"},    {"Connection/Server", "olddb"},
      {"WebServer/Path", "/srv/old/"}, {"Docker/Path", "/srv/docker/"}};
  WriteSource([&](Settings& source) {
    for (const auto& [path, value] : texts)
      source.SetString(path, value);
    source.SetString("Patch/Url", "http://old/patches");
    source.SetInteger("WebServer/Port", 8181);
    source.SetString("Docker/Url", "http://old/runtime.tar.gz");
  });
  std::string before = ReadFile(site.Path("app/Settings.json"));
  std::string output = Migrate(false);
  EXPECT_NE(output.find("\n<green>MIGRATE_DONE</>\nMIGRATE_BACKUP"), std::string::npos) << output;
  EXPECT_TRUE(succeeded);
  EXPECT_EQ(ReadFile(site.Path("app/Settings.json.bak")), before);
  EXPECT_EQ(Records(), "");
  auto saved = Saved();
  for (const auto& [path, value] : texts)
    EXPECT_EQ(saved->GetString(path), value) << path;
  EXPECT_EQ(saved->GetInteger("WebServer/Port"), 8181);
  EXPECT_EQ(saved->GetString("Docker/Url"), site.Url(DeploymentSite::RUNTIME_ARCHIVE));
}

TEST_F(MigrateControllerTest, TakesThePatchVersionOnlyWithinTheTargetMinorVersion) {
  const struct {
    const char* version;
    const char* warning;
    const char* kept;
  } cases[] = {
      {"24.2.0.17", "MERGE_PATCH_VERSION24.2.0.17\n", "24.2.0.17"},
      {"24.1.5.3", "MERGE_INSTALL\n", "24.2.0.7"},
      {"24.3.0.0", "<magenta>MIGRATE_VERSION_WARNIN_MINOR</>\nMERGE_INSTALL\n", "24.2.0.7"},
      {"25.0.0.0", "<red>MIGRATE_VERSION_WARNING_MAJOR</>\nMERGE_INSTALL\n", "24.2.0.7"},
  };
  for (const auto& test : cases) {
    Open();
    WriteSource([&](Settings& source) { source.SetString("Patch/Version", test.version); });
    Input("\n");
    std::string output = Migrate(false);
    std::string afterVersion =
        output.substr(output.find("\n", output.find("<yellow>MIGRATE_VERSION</>")) + 1);
    EXPECT_EQ(afterVersion.substr(0, strlen(test.warning)), test.warning) << test.version;
    EXPECT_EQ(Saved()->GetString("Patch/Version"), test.kept) << test.version;
  }
}

TEST_F(MigrateControllerTest, ComparesTemplatesOnlyWhenTheAddressesDiffer) {
  WriteSource([](Settings& source) { source.SetString("Patch/Template", "other-*.sh"); });
  std::string output = Migrate(false);
  EXPECT_EQ(output.find("MERGE_PATCH_URL"), std::string::npos);
  EXPECT_EQ(output.find("MERGE_PATCH_TEMPLATE"), std::string::npos);
  EXPECT_EQ(Saved()->GetString("Patch/Template"), "app-*.sh");
}

// A dry run prints the delete's commands; the real delete comes between saving and done.
TEST_F(MigrateControllerTest, DeletesTheOtherInstallationBetweenSavingAndDone) {
  WriteSource([&](Settings& source) {
    source.SetString("WebServer/Path", site.Path("old") + "/");
    source.SetString("Docker/Path", site.Path("old") + "/");
    source.SetInteger("WebServer/Port", 8181);
    source.SetInteger("Install/Port", 7070);
  });
  site.MakeControlDirectory(site.Path("old/web_8181/ctl"), 0, 0, 0);
  site.WriteScript(site.Path("old/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("old/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
  std::string output;
  ExpectDryRunPrintsTheCommandsOfARealRun([&] { return output = Migrate(true); });
  size_t saving = output.find("<yellow>MIGRATE_SAVE</>\n");
  EXPECT_NE(output.find("<green>DELETED</>\n<green>MIGRATE_DONE</>\n", saving), std::string::npos)
      << output;
  EXPECT_EQ(Records(), R"(ws_delapp.sh [-p] [7070]
vaq-web/uninstall.sh [-p] [8181]
runtime-1.0/uninstall.sh
)");
  EXPECT_FALSE(fs::exists(site.Path("old/web_8181")));
  EXPECT_TRUE(succeeded);
}

// A file that does not load, or the current settings file however named, ends it unchanged.
TEST_F(MigrateControllerTest, RefusesTheCurrentSettingsFileHoweverItIsNamed) {
  fs::create_symlink(site.Path("app/Settings.json"), site.Path("app/linked.json"));
  fs::create_hard_link(site.Path("app/Settings.json"), site.Path("app/hard.json"));
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  std::string before = Saved()->GetString("Install/Catalog");
  settings->SetString("Install/Catalog", "unsaved");
  // The working folder's own name, reached from its parent.
  std::string roundabout = "../" + fs::current_path().filename().string() + "/Settings.json";
  for (const std::string& path :
       {std::string("missing.json"), std::string("./Settings.json"), roundabout,
        std::string("linked.json"), std::string("hard.json")}) {
    testing::internal::CaptureStdout();
    MigrateController controller(Arguments(false, false, false, path, true), &programVersion);
    EXPECT_THROW(controller.Execute(), const char*) << path;
    EXPECT_FALSE(controller.Succeeded());
    EXPECT_EQ(Readable(testing::internal::GetCapturedStdout()),
              "<yellow>MIGRATION</> <cyan>" + path + "</>\n<red>MIGRATE_LOAD_FAIL</>\n");
  }
  EXPECT_EQ(Records(), "");
  EXPECT_TRUE(fs::exists(ControlPath()));
  EXPECT_EQ(Saved()->GetString("Install/Catalog"), before);
}

// With key wait a line is read and the rest of it discarded; without, input is left alone.
TEST_F(MigrateControllerTest, WaitsForALineAndDiscardsTheRestOfIt) {
  WriteSource([](Settings&) {});
  Input("typed ahead\nnext\n");
  Migrate(false);
  EXPECT_EQ(getc(stdin), 'n');
  keyWait = false;
  EXPECT_EQ(LastLine(Migrate(false)), "MIGRATE_BACKUP<cyan>{site}/app/Settings.json.bak</>\n");
  EXPECT_EQ(getc(stdin), 'e');
  while (getc(stdin) != EOF) {
  }
  keyWait = true;
  Input("");
  Migrate(false);
  EXPECT_TRUE(succeeded);
}

}  // namespace
