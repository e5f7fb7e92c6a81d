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
#include "support/Thrown.h"

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
    MigrateController controller(Arguments(false, false, false, path, deleteOld), &programVersion);
    std::string output = Execute(controller);
    succeeded = controller.Succeeded();
    return output;
  }

  std::unique_ptr<Settings> Saved() {
    auto saved = std::make_unique<Settings>(logger.get(), site.Path("app/Settings.json"));
    saved->Load();
    return saved;
  }

  int savedInput;
  bool succeeded = false;
};

TEST_F(MigrateControllerTest, CopiesTheOtherInstallationsSettingsAndSavesThem) {
  WriteSource([](Settings& source) {
    source.SetString("Patch/Version", "24.2.0.17");
    source.SetString("Patch/Url", "http://old/patches");
    source.SetString("Patch/Template", "old-*.sh");
    source.SetInteger("Install/Port", 7070);
    source.SetString("Install/DLL", "old.dll");
    source.SetString("Install/ComplexId", "OLD");
    source.SetString("Install/Catalog", "oldcat");
    source.SetInteger("Connection/Type", 2);
    source.SetString("Connection/Server", "olddb");
    source.SetString("Connection/Base", "oldbase");
    source.SetString("WebServer/Type", "jetty");
    source.SetInteger("WebServer/Port", 8181);
    source.SetString("WebServer/Path", "/srv/old/");
    source.SetInteger("WebServer/DebugPort", 8001);
    source.SetString("WebServer/ContSoft", "podman");
    source.SetString("Docker/Path", "/srv/docker/");
    source.SetString("Docker/Url", "http://old/runtime.tar.gz");
    source.SetString("WebServer/Url", "http://old/web.tar.gz");
  });
  std::string before = ReadFile(site.Path("app/Settings.json"));
  EXPECT_EQ(Migrate(false), R"(<yellow>MIGRATION</> <cyan>old.json</>
<yellow>MIGRATE_LOADED</>
<yellow>MIGRATE_VERSION</><cyan>24.2.0.17</>
MERGE_PATCH_VERSION24.2.0.17
MERGE_PATCH_URLhttp://old/patches
MERGE_PATCH_TEMPLATEold-*.sh
MERGE_INSTALL
MERGE_CONNECTION
MERGE_WEB_SERVER_TOLM
MERGE_DOCKER_CE
<yellow>MIGRATE_SAVE</>
<green>MIGRATE_DONE</>
MIGRATE_BACKUP<cyan>{site}/app/Settings.json.bak</>
PRESS_TO_CONTINUE
)");
  EXPECT_TRUE(succeeded);
  EXPECT_EQ(ReadFile(site.Path("app/Settings.json.bak")), before);
  EXPECT_EQ(Records(), "");
  auto saved = Saved();
  const std::pair<const char*, const char*> texts[] = {
      {"Patch/Version", "24.2.0.17"},   {"Patch/Url", "http://old/patches"},
      {"Patch/Template", "old-*.sh"},   {"Install/DLL", "old.dll"},
      {"Install/ComplexId", "OLD"},     {"Install/Catalog", "oldcat"},
      {"Connection/Server", "olddb"},   {"Connection/Base", "oldbase"},
      {"WebServer/Type", "jetty"},      {"WebServer/Path", "/srv/old/"},
      {"WebServer/ContSoft", "podman"}, {"Docker/Path", "/srv/docker/"}};
  for (const auto& [path, value] : texts)
    EXPECT_EQ(saved->GetString(path), value) << path;
  EXPECT_EQ(saved->GetInteger("Install/Port"), 7070);
  EXPECT_EQ(saved->GetInteger("Connection/Type"), 2);
  EXPECT_EQ(saved->GetInteger("WebServer/Port"), 8181);
  EXPECT_EQ(saved->GetInteger("WebServer/DebugPort"), 8001);
  EXPECT_EQ(saved->GetString("Docker/Url"), site.Url(DeploymentSite::RUNTIME_ARCHIVE));
  EXPECT_EQ(saved->GetString("WebServer/Url"), site.Url(DeploymentSite::WEB_SERVER_ARCHIVE));
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
  std::string output = Migrate(true);
  EXPECT_EQ(output.substr(output.find("<yellow>MIGRATE_SAVE")),
            "<yellow>MIGRATE_SAVE</>\n" + CompleteDelete +
                "<green>MIGRATE_DONE</>\nMIGRATE_BACKUP<cyan>{site}/app/Settings.json.bak</"
                ">\nPRESS_TO_CONTINUE\n");
  EXPECT_EQ(Records(), R"(ws_delapp.sh [-p] [7070]
vaq-web/uninstall.sh [-p] [8181]
runtime-1.0/uninstall.sh
)");
  EXPECT_FALSE(fs::exists(site.Path("old/web_8181")));
  EXPECT_TRUE(succeeded);
}

TEST_F(MigrateControllerTest, DryRunPrintsTheDeletesCommandsOfARealRunAndSavesNothing) {
  WriteSource([&](Settings& source) {
    source.SetString("WebServer/Path", site.Path("old") + "/");
    source.SetString("Docker/Path", site.Path("old") + "/");
  });
  site.MakeControlDirectory(site.Path("old/web_8080/ctl"), 0, 0, 0);
  site.WriteScript(site.Path("old/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("old/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
  ExpectDryRunPrintsTheCommandsOfARealRun([&] { return Migrate(true); });
}

TEST_F(MigrateControllerTest, LeavesStandardInputAloneWithoutKeyWait) {
  WriteSource([](Settings&) {});
  Input("x\n");
  keyWait = false;
  EXPECT_EQ(LastLine(Migrate(false)), "MIGRATE_BACKUP<cyan>{site}/app/Settings.json.bak</>\n");
  EXPECT_EQ(getc(stdin), 'x');
}

TEST_F(MigrateControllerTest, ReportsASettingsFileThatCannotBeLoadedAndChangesNothing) {
  std::string before = site.Path("app/Settings.json");
  std::ifstream in(before);
  std::string original(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(Thrown([&] { Migrate(true, "missing.json"); }), "Fail when load settings");
  EXPECT_FALSE(succeeded);
  std::ifstream after(before);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), {}), original);
  testing::internal::CaptureStdout();
  MigrateController controller(Arguments(false, false, false, "missing.json", false),
                               &programVersion);
  EXPECT_THROW(controller.Execute(), const char*);
  EXPECT_EQ(Readable(testing::internal::GetCapturedStdout()),
            "<yellow>MIGRATION</> <cyan>missing.json</>\n<red>MIGRATE_LOAD_FAIL</>\n");
  EXPECT_FALSE(controller.Succeeded());
}

TEST_F(MigrateControllerTest, RefusesTheCurrentSettingsFileHoweverItIsNamed) {
  fs::create_symlink(site.Path("app/Settings.json"), site.Path("app/linked.json"));
  fs::create_hard_link(site.Path("app/Settings.json"), site.Path("app/hard.json"));
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  std::string before = Saved()->GetString("Install/Catalog");
  settings->SetString("Install/Catalog", "unsaved");
  // The working folder's own name, reached from its parent.
  std::string roundabout = "../" + fs::current_path().filename().string() + "/Settings.json";
  for (const std::string& path :
       {std::string("Settings.json"), std::string("./Settings.json"), roundabout,
        std::string("linked.json"), std::string("hard.json")}) {
    testing::internal::CaptureStdout();
    MigrateController controller(Arguments(false, false, false, path, true), &programVersion);
    EXPECT_THROW(controller.Execute(), const char*) << path;
    EXPECT_EQ(Readable(testing::internal::GetCapturedStdout()),
              "<yellow>MIGRATION</> <cyan>" + path + "</>\n<red>MIGRATE_LOAD_FAIL</>\n");
  }
  fs::copy_file(site.Path("app/Settings.json"), site.Path("app/copy.json"));
  EXPECT_NO_THROW(Migrate(false, "copy.json"));
  EXPECT_EQ(Records(), "");
  EXPECT_TRUE(fs::exists(ControlPath()));
  EXPECT_EQ(Saved()->GetString("Install/Catalog"), before);
}

TEST_F(MigrateControllerTest, WaitsForALineAndDiscardsTheRestOfIt) {
  WriteSource([](Settings&) {});
  Input("typed ahead\nnext\n");
  Migrate(false);
  EXPECT_EQ(getc(stdin), 'n');
  while (getc(stdin) != EOF) {
  }
  Input("");
  Migrate(false);
  EXPECT_TRUE(succeeded);
}

}  // namespace
