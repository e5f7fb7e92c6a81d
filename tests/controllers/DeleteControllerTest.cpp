#include "controllers/DeleteController.h"

#include <filesystem>

#include "controllers/ControllerFixture.h"

namespace {

class DeleteControllerTest : public ControllerFixture {
 protected:
  // Lays out an installed application, web server and runtime under web/ and docker/.
  std::string Delete(int applicationStatus, int webServerStatus, int runtimeStatus) {
    site.Set("WebServer/Path", site.Path("web") + "/");
    site.Set("Docker/Path", site.Path("docker") + "/");
    site.MakeControlDirectory(ControlPath(), 0, 0, applicationStatus);
    site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh",
                     webServerStatus);
    site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh",
                     runtimeStatus);
    Open();
    return Run<DeleteController>(Arguments(false, false, false));
  }

  bool Exists(const std::string& name) { return std::filesystem::exists(site.Path(name)); }
};

// Every step is tried; the runtime's uninstall may exit 1; a failed web server uninstall keeps
// its folders.
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
    site.ClearRecords();
    std::string output = Delete(test.application, test.webServer, test.runtime);
    EXPECT_EQ(Records(),
              "ws_delapp.sh [-p] [9090]\nvaq-web/uninstall.sh [-p] [8080]\n"
              "runtime-1.0/uninstall.sh\n")
        << test.failure;
    EXPECT_NE(output.find(test.failure), std::string::npos) << output;
    EXPECT_EQ(LastLine(output), test.green ? "<green>DELETED</>\n" : "<red>DELETED</>\n")
        << test.failure;
    EXPECT_EQ(succeeded, test.green) << test.failure;
    EXPECT_NE(Exists("web/web_8080") || Exists("web/vaq-web"), test.webFoldersRemoved);
    EXPECT_NE(Exists("docker/runtime-1.0"), test.runtimeRemoved) << test.failure;
  }
}

// A runtime address without a file name gives no archive name: its folder would be the parent.
TEST_F(DeleteControllerTest, NeverRemovesTheParentFolderWhenTheArchiveNameIsEmpty) {
  site.Set("Docker/Url", site.Url(""));
  Delete(0, 0, 0);
  EXPECT_TRUE(Exists("docker/runtime-1.0/uninstall.sh"));
  EXPECT_FALSE(succeeded);
}

// A runtime folder that is the root itself ("/" and "..") is never given to rm.
TEST_F(DeleteControllerTest, NeverRemovesTheRootFolder) {
  dryRun = true;
  site.Set("Docker/Path", "/");
  site.Set("Docker/Url", site.Url(".."));
  Open();
  std::string output = Run<DeleteController>(Arguments(false, false, false));
  EXPECT_EQ(output.find("rm -r /.."), std::string::npos) << output;
  EXPECT_EQ(LastLine(output), "bash /../uninstall.sh\n");  // the dry run lists no step after it
  EXPECT_FALSE(succeeded);
}

}  // namespace
