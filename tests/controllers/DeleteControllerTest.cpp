#include "controllers/DeleteController.h"

#include <filesystem>
#include <fstream>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

namespace fs = std::filesystem;

class DeleteControllerTest : public ControllerFixture {
 protected:
  // Lays out an installed application, web server and runtime beside files that must survive.
  void Install(int applicationStatus, int webServerStatus, int runtimeStatus,
               const std::string& web = "web", const std::string& docker = "docker") {
    site.Set("WebServer/Path", site.Path(web) + "/");
    site.Set("Docker/Path", site.Path(docker) + "/");
    site.MakeControlDirectory(site.Path(web + "/web_8080/ctl"), 0, 0, applicationStatus);
    site.WriteScript(site.Path(web + "/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh",
                     webServerStatus);
    site.WriteScript(site.Path(docker + "/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh",
                     runtimeStatus);
    for (const std::string& folder : {web, docker})
      std::ofstream(site.Path(folder + "/keep.txt")) << "keep";
  }

  std::string Delete() {
    Open();
    return Run<DeleteController>(Arguments(false, false, false));
  }

  bool Exists(const std::string& name) { return fs::exists(site.Path(name)); }
};

TEST_F(DeleteControllerTest, RemovesApplicationWebServerAndRuntimeWithTheirFoldersOnly) {
  const std::string web = "web dir's $(touch ran)", docker = "docker dir";
  Install(0, 0, 0, web, docker);
  EXPECT_EQ(LastLine(Delete()), "<green>DELETED</>\n");
  EXPECT_EQ(Records(), R"(ws_delapp.sh [-p] [9090]
vaq-web/uninstall.sh [-p] [8080]
runtime-1.0/uninstall.sh
)");
  EXPECT_TRUE(succeeded);
  for (const std::string& removed : {web + "/web_8080", web + "/vaq-web", docker + "/runtime-1.0"})
    EXPECT_FALSE(Exists(removed)) << removed;
  EXPECT_TRUE(Exists(web + "/keep.txt") && Exists(docker + "/keep.txt"));
  EXPECT_FALSE(fs::exists("ran"));
}

// The runtime's uninstall may exit 1; a failed web server uninstall keeps its folders.
TEST_F(DeleteControllerTest, TriesEveryStepAndJudgesEachScriptByItsOwnRule) {
  const struct {
    int application, webServer, runtime;
    const char* failure;
    bool webFoldersRemoved, runtimeRemoved, green;
  } cases[] = {
      {0, 0, 1, "", true, true, true},
      {0, 0, 2, "<red>DELETE_DOCKER_FAIL512</>", true, false, false},
      {0, 1, 0, "<red>DELETE_WEB_SERVER_TOLM_FAIL256</>", false, true, false},
      {1, 0, 0, "<red>DELETE_PATCH_FAIL256</>", true, true, false},
  };
  for (const auto& test : cases) {
    std::string name = std::to_string(test.application) + std::to_string(test.webServer) +
                       std::to_string(test.runtime);
    Install(test.application, test.webServer, test.runtime, "web" + name, "docker" + name);
    std::string output = Delete();
    EXPECT_NE(output.find(test.failure), std::string::npos) << name << output;
    EXPECT_EQ(LastLine(output), test.green ? "<green>DELETED</>\n" : "<red>DELETED</>\n") << name;
    EXPECT_EQ(succeeded, test.green) << name;
    EXPECT_NE(Exists("web" + name + "/web_8080"), test.webFoldersRemoved) << name;
    EXPECT_NE(Exists("web" + name + "/vaq-web"), test.webFoldersRemoved) << name;
    EXPECT_NE(Exists("docker" + name + "/runtime-1.0"), test.runtimeRemoved) << name;
  }
}

TEST_F(DeleteControllerTest, NeverRemovesTheParentFolderWhenTheArchiveNameIsEmpty) {
  Install(0, 0, 0);
  site.Set("WebServer/Url", "http://host/files/");
  site.Set("Docker/Url", "http://host/files/");
  site.MakeControlDirectory(site.Path("web/_8080/ctl"), 0, 0, 0);
  site.WriteScript(site.Path("web/uninstall.sh"), "web/uninstall.sh", 0);
  site.WriteScript(site.Path("docker/uninstall.sh"), "docker/uninstall.sh", 0);
  EXPECT_EQ(LastLine(Delete()), "<red>DELETED</>\n");
  EXPECT_FALSE(succeeded);
  EXPECT_TRUE(Exists("web/keep.txt") && Exists("web/_8080/ctl") && Exists("docker/keep.txt"));
}

}  // namespace
