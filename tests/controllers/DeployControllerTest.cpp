#include "controllers/DeployController.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"
#include "controllers/Shell.h"
#include "util/Sha256.h"

namespace {

namespace fs = std::filesystem;

class DeployControllerTest : public ControllerFixture {
 protected:
  std::string Deploy(bool installDocker, bool installWebServer, bool ignoreCerts = false) {
    Open();
    return Run<DeployController>(Arguments(installDocker, installWebServer, ignoreCerts));
  }
};

TEST_F(DeployControllerTest, PassesHostileValuesAsOneIntactArgumentAndRunsNothing) {
  site.Set("WebServer/Path", site.Path("web dir's $(touch run1)") + "/");
  site.Set("WebServer/Type", "a \"b\" `touch run2`");
  site.Set("WebServer/ContSoft", "$(touch run3) \\n");
  site.Set("Install/ComplexId", "id with blanks");
  site.Set("Install/DLL", "x'y");
  site.Set("Install/Catalog", "c$HOME`touch run4`");
  site.Set("Connection/Server", "srv\\\"; touch run5; \"");
  site.Set("Connection/Base", "~/base&more");
  site.Set("Patch/Version", "24.1");
  site.Set("Patch/Url", site.Url("p&q;x"));
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("p&q;x/app-24.1.sh", "echo\n");
  site.MakeControlDirectory(site.Path("web dir's $(touch run1)/web_8080/ctl"), 0, 0, 0);
  site.RecordDownloads();
  EXPECT_EQ(LastLine(Deploy(false, true, true)), "<green>DEPLOY_SUCCESS</>\n");
  EXPECT_EQ(Records(), R"(wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp] [--no-check-certificate]
vaq-web/install.sh [-ws] [a "b" `touch run2`] [-p] [8080] [-cs] [$(touch run3) \n] [-pp] [8000]
wget [{server}/p&q;x/app-24.1.sh] [-P] [{site}/web dir's $(touch run1)/web_8080/ctl/tar_files] [--no-check-certificate]
ws_addapp.sh [-t] [id with blanks:x'y] [-a] [app-24.1.sh] [-p] [9090] [-vc] [c$HOME`touch run4`] [-st] [1] [-sn] [srv\"; touch run5; "] [-dn] [~/base&more]
)");
  // Each logged command line, pasted into bash, runs exactly the same command.
  std::string records = Records();
  site.ClearRecords();
  for (const std::string& line : LoggedCommands(Log()))
    std::system(("bash -c " + Shell::Word(line) + " >/dev/null 2>&1").c_str());
  EXPECT_EQ(Records(), records);
  for (const char* file : {"run1", "run2", "run3", "run4", "run5"})
    EXPECT_FALSE(fs::exists(file)) << file;
}

// Docker/Url and Docker/Path starting with "-" would be read as options: those steps are refused.
TEST_F(DeployControllerTest, StopsAtTheFirstFailingOrRefusedStep) {
  const struct {
    const char *runtimeUrl, *runtimePath;
    int serverInstall, registration;
    const char *lastLine, *lastRecord;
  } cases[] = {
      {"missing.tar.gz", "docker/", 0, 0, "<red>DOWNLOAD_DOCKER_CODE2048</>",
       "wget [{server}/missing"},
      {"-O/etc/passwd", "docker/", 0, 0, "<red>DOWNLOAD_DOCKER_CODE-1</>", ""},
      {"runtime-1.0.tar.gz", "-rf", 0, 0, "<red>UNZIP_DOCKER_FAILED-1</>",
       "wget [{server}/runtime-1.0.tar.gz]"},
      {"runtime-1.0.tar.gz", "docker/", 1, 0, "<red>SERVER_INSTALL_FAIL256</>",
       "vaq-web/install.sh"},
      {"runtime-1.0.tar.gz", "docker/", 0, 1, "<red>DEPLOY_FAIL256</>", "ws_addapp.sh"},
  };
  site.RecordDownloads();
  for (const auto& test : cases) {
    bool refused = test.runtimeUrl[0] == '-', unpackRefused = test.runtimePath[0] == '-';
    site.ClearRecords();
    site.Set("Docker/Url", refused ? test.runtimeUrl : site.Url(test.runtimeUrl));
    site.Set("Docker/Path", unpackRefused ? test.runtimePath : site.Path(test.runtimePath));
    site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
    site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", test.serverInstall, 0);
    site.ServeFile("patches/app-24.2.0.7.sh", "echo\n");
    site.MakeControlDirectory(ControlPath(), test.registration, 0, 0);
    std::string output = Deploy(true, true), records = Records();
    EXPECT_EQ(LastLine(output), std::string(test.lastLine) + "\n") << test.lastLine;
    EXPECT_EQ(LastLine(records).substr(0, strlen(test.lastRecord)), test.lastRecord)
        << test.lastLine;
    EXPECT_EQ(records.empty(), refused) << test.lastLine;
    EXPECT_FALSE(succeeded) << test.lastLine;
  }
}

// Each download is checked right after it arrives: a wrong digest removes it and ends the deploy
// before any script of it runs.
TEST_F(DeployControllerTest, UsesNoDownloadWhoseChecksumDiffers) {
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("patches/app-24.2.0.7.sh", "echo\n");
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  site.RecordDownloads();
  auto digest = [this](const std::string& served) {
    std::string value, reason;
    Sha256::OfFile(site.Path("served/" + served), &value, &reason);
    return value;
  };
  const std::string wrong(64, '0');
  const struct {
    const char* path;
    std::string right, file;
    const char* firstUse;
  } downloads[] = {
      {"Docker/Sha256", digest(DeploymentSite::RUNTIME_ARCHIVE), "./temp/runtime-1.0.tar.gz",
       "runtime-1.0/install.sh"},
      {"Patch/Sha256", digest("patches/app-24.2.0.7.sh"),
       ControlPath() + "/tar_files/app-24.2.0.7.sh", "ws_addapp.sh"},
  };
  for (const auto& spoiled : downloads) {
    for (const auto& download : downloads)
      site.Set(download.path, &download == &spoiled ? wrong : download.right);
    site.ClearRecords();
    std::string output = Deploy(true, true);
    EXPECT_FALSE(succeeded) << spoiled.path;
    EXPECT_EQ(LastLine(output), "<red>SHA256_MISMATCH" + Normalised(spoiled.file) +
                                    " (SHA256_EXPECTED" + wrong + ", SHA256_ACTUAL" +
                                    spoiled.right + ")</>\n");
    EXPECT_FALSE(fs::exists(spoiled.file)) << spoiled.path;
    EXPECT_EQ(Records().find(spoiled.firstUse), std::string::npos) << Records();
  }
}

}  // namespace
