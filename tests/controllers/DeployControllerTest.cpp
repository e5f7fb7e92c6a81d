#include "controllers/DeployController.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"
#include "controllers/Shell.h"
#include "util/Sha256.h"

namespace {

namespace fs = std::filesystem;

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class DeployControllerTest : public ControllerFixture {
 protected:
  std::string Deploy(bool installDocker, bool installWebServer, bool ignoreCerts = false) {
    return Run<DeployController>(Arguments(installDocker, installWebServer, ignoreCerts));
  }
};

TEST_F(DeployControllerTest, InstallsBothComponentsAndRegistersThePatchSkippingCertificateChecks) {
  PrepareDeploy();
  Open();
  EXPECT_EQ(LastLine(Deploy(true, true, true)), "<green>DEPLOY_SUCCESS</>\n");
  EXPECT_EQ(Records(), R"(wget [{server}/runtime-1.0.tar.gz] [-P] [./temp] [--no-check-certificate]
runtime-1.0/install.sh
wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp] [--no-check-certificate]
vaq-web/install.sh [-ws] [tomcat] [-p] [8080] [-cs] [docker] [-pp] [8000] [-l] [ru_RU.utf8]
wget [{server}/patches/app-24.2.0.7.sh] [-P] [{site}/web/web_8080/ctl/tar_files] [--no-check-certificate]
ws_addapp.sh [-t] [CX1] [-a] [app-24.2.0.7.sh] [-p] [9090] [-vc] [main] [-st] [1] [-sn] [db.local] [-dn] [appdb]
)");
  EXPECT_TRUE(succeeded);
  EXPECT_NE(fs::status(ControlPath() + "/tar_files/app-24.2.0.7.sh").permissions() &
                fs::perms::owner_exec,
            fs::perms::none);
}

// Before 24.2 the patch gets a notice, the web server no locale and the registration ID:DLL.
TEST_F(DeployControllerTest, ChoosesNoticeLocaleAndRegistrationIdByThePatchVersion) {
  PrepareDeploy();
  for (std::string version : {"24.1.0.5", "24.2.0.0"}) {
    bool before24_2 = version == "24.1.0.5";
    site.Set("Patch/Version", version);
    site.ServeFile("patches/app-" + version + ".sh", "echo\n");
    site.ClearRecords();
    Open();
    std::string output = Deploy(false, true), records = Records();
    EXPECT_TRUE(succeeded) << version;
    EXPECT_EQ(output.find("DEPLOY_PATCH_VERSION_WARNING1.24.2.*\n") != std::string::npos,
              before24_2);
    EXPECT_EQ(records.find("[8000] [-l] [ru_RU.utf8]\n") == std::string::npos, before24_2);
    EXPECT_NE(records.find(std::string("ws_addapp.sh [-t] [") +
                           (before24_2 ? "CX1:core.dll" : "CX1") + "] [-a]"),
              std::string::npos)
        << records;
  }
}

// Docker/Url and Docker/Path starting with "-" would be read as options: those steps are refused.
TEST_F(DeployControllerTest, StopsAtTheFirstFailingOrRefusedStep) {
  const struct {
    const char* runtimeUrl;
    const char* runtimePath;
    int serverInstall, registration;
    const char* lastLine;
    const char* lastRecord;
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
    Open();
    std::string output = Deploy(true, true);
    std::string records = Records();
    EXPECT_EQ(LastLine(output), std::string(test.lastLine) + "\n") << test.lastLine;
    EXPECT_EQ(LastLine(records).substr(0, strlen(test.lastRecord)), test.lastRecord)
        << test.lastLine;
    EXPECT_EQ(records.empty(), refused) << test.lastLine;
    EXPECT_FALSE(succeeded) << test.lastLine;
  }
}

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
  Open();
  EXPECT_EQ(LastLine(Deploy(false, true)), "<green>DEPLOY_SUCCESS</>\n");
  EXPECT_EQ(Records(), R"(wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp]
vaq-web/install.sh [-ws] [a "b" `touch run2`] [-p] [8080] [-cs] [$(touch run3) \n] [-pp] [8000]
wget [{server}/p&q;x/app-24.1.sh] [-P] [{site}/web dir's $(touch run1)/web_8080/ctl/tar_files]
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

TEST_F(DeployControllerTest, InstallsTheNewArchiveAndPatchOnARerun) {
  PrepareDeploy();
  Open();
  Deploy(true, false);
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0, "version 2");
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch version 2\n");
  site.ClearRecords();
  Deploy(true, false);
  EXPECT_NE(Records().find("\nruntime-1.0/install.sh version 2\n"), std::string::npos);
  std::ifstream patch(ControlPath() + "/tar_files/app-24.2.0.7.sh");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(patch), {}), "echo patch version 2\n");
  EXPECT_FALSE(fs::exists(ControlPath() + "/tar_files/app-24.2.0.7.sh.1"));
  EXPECT_FALSE(fs::exists("temp/runtime-1.0.tar.gz.1"));
}

}  // namespace

// Each download is checked right after it arrives: a wrong digest removes it and ends the deploy
// before any script of it runs; right digests (in either case) let the whole deploy through.
TEST_F(DeployControllerTest, UsesNoDownloadWhoseChecksumDiffers) {
  PrepareDeploy();
  auto digest = [this](const std::string& served) {
    std::string value, reason;
    Sha256::OfFile(site.Path("served/" + served), &value, &reason);
    return value;
  };
  const std::string wrong(64, '0');
  const struct {
    const char* path;
    std::string right;
    std::string file;
    const char* firstUse;
  } downloads[] = {
      {"Docker/Sha256", digest(DeploymentSite::RUNTIME_ARCHIVE), "./temp/runtime-1.0.tar.gz",
       "runtime-1.0/install.sh"},
      {"WebServer/Sha256", digest(DeploymentSite::WEB_SERVER_ARCHIVE), "./temp/vaq-web_d2.tar.gz",
       "vaq-web/install.sh"},
      {"Patch/Sha256", digest("patches/app-24.2.0.7.sh"),
       ControlPath() + "/tar_files/app-24.2.0.7.sh", "ws_addapp.sh"},
  };
  for (const auto& spoiled : downloads) {
    for (const auto& download : downloads)
      site.Set(download.path, &download == &spoiled ? wrong : download.right);
    site.ClearRecords();
    Open();
    std::string output = Deploy(true, true);
    EXPECT_FALSE(succeeded) << spoiled.path;
    EXPECT_EQ(LastLine(output), "<red>SHA256_MISMATCH" + Normalised(spoiled.file) +
                                    " (SHA256_EXPECTED" + wrong + ", SHA256_ACTUAL" +
                                    spoiled.right + ")</>\n");
    EXPECT_FALSE(std::filesystem::exists(spoiled.file)) << spoiled.path;
    EXPECT_EQ(Records().find(spoiled.firstUse), std::string::npos) << Records();
  }
  for (const auto& download : downloads)
    site.Set(download.path, download.path[0] == 'D' ? Upper(download.right) : download.right);
  Open();
  std::string output = Deploy(true, true);
  EXPECT_TRUE(succeeded) << output;
  EXPECT_NE(output.find("<green>SHA256_MATCH./temp/runtime-1.0.tar.gz</>"), std::string::npos);
  EXPECT_EQ(output.find("SHA256_NOT_SET"), std::string::npos);
}
