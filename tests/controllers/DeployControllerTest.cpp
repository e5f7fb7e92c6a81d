#include "controllers/DeployController.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

class DeployControllerTest : public ControllerFixture {
 protected:
  // Deploys with the given choices and returns the output.
  std::string Deploy(bool installDocker, bool installWebServer, bool ignoreCerts = false) {
    DeployController controller(Arguments(installDocker, installWebServer, ignoreCerts),
                                &programVersion);
    std::string output = Execute(controller);
    succeeded = controller.Succeeded();
    return output;
  }

  bool succeeded = false;
};

TEST_F(DeployControllerTest, InstallsBothComponentsAndRegistersThePatch) {
  PrepareDeploy();
  Open();
  EXPECT_EQ(Deploy(true, true), R"(<yellow>SAVE_CONFIG_SKIPPED</>
<yellow>DOWNLOAD_DOCKER</>
<green>DOWNLOAD_DOCKER_SUCCESS</>
<yellow>UNZIP_DOCKER</>
<green>UNZIP_DOCKER_GRANTED</>
runtime-1.0/
runtime-1.0/install.sh
runtime-1.0/uninstall.sh
<green>UNZIP_DOCKER_SUCCESS</>
<yellow>DOCKER_INSTALATION</>
<green>DOCKER_INSTALL_SUCCESS</>
<yellow>DOWNLOAD_SERVER</>
<green>DOWNLOAD_SERVER_SUCCESS</>
UNZIP_SERVER
<green>UNZIP_SERVER_GRANTED</>
vaq-web/
vaq-web/install.sh
vaq-web/uninstall.sh
<green>UNZIP_SERVER_SUCCESS</>
<yellow>SERVER_INSTALATION</>
<green>SERVER_INSTALL_SUCCESS</>
<yellow>DOWNLOAD_PATCH</><cyan>{site}/web/web_8080/ctl/tar_files</>
<yellow>app-24.2.0.7.sh</>
<green>DOWNLOAD_PATCH_SUCCESS</>
<yellow>PATCH_GRANT</>
<green>PATCH_GRANT_SUCCESS</>
<yellow>DEPLOY_PATCH</>
<green>DEPLOY_SUCCESS</>
)");
  EXPECT_EQ(Records(), R"(wget [{server}/runtime-1.0.tar.gz] [-P] [./temp]
runtime-1.0/install.sh
wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp]
vaq-web/install.sh [-ws] [tomcat] [-p] [8080] [-cs] [docker] [-pp] [8000] [-l] [ru_RU.utf8]
wget [{server}/patches/app-24.2.0.7.sh] [-P] [{site}/web/web_8080/ctl/tar_files]
ws_addapp.sh [-t] [CX1] [-a] [app-24.2.0.7.sh] [-p] [9090] [-vc] [main] [-st] [1] [-sn] [db.local] [-dn] [appdb]
)");
  EXPECT_TRUE(succeeded);
  struct stat patch {};
  ASSERT_EQ(stat((ControlPath() + "/tar_files/app-24.2.0.7.sh").c_str(), &patch), 0);
  EXPECT_TRUE(patch.st_mode & S_IXUSR);
  std::string log = Normalised(Log());
  EXPECT_NE(log.find("Controller[Deploy]::printDEPLOY_SUCCESS.\n"), std::string::npos);
  EXPECT_NE(log.find(" > Try bash {site}/web/web_8080/ctl/ws_addapp.sh -t \"CX1\" -a "
                     "\"app-24.2.0.7.sh\" -p \"9090\" -vc \"main\" -st \"1\" -sn \"db.local\" "
                     "-dn \"appdb\"\n"),
            std::string::npos);
}

TEST_F(DeployControllerTest, PassesIdAndDllWithoutLocaleBeforeVersion24_2) {
  PrepareDeploy();
  site.Set("Patch/Version", "24.1.0.5");
  site.ServeFile("patches/app-24.1.0.5.sh", "echo old\n");
  Open();
  std::string output = Deploy(false, true);
  EXPECT_EQ(output.substr(0, output.find("<yellow>DOWNLOAD_SERVER")),
            "<yellow>SAVE_CONFIG_SKIPPED</>\nDEPLOY_PATCH_VERSION_WARNING1.24.2.*\n");
  EXPECT_EQ(Records(), R"(wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp]
vaq-web/install.sh [-ws] [tomcat] [-p] [8080] [-cs] [docker] [-pp] [8000]
wget [{server}/patches/app-24.1.0.5.sh] [-P] [{site}/web/web_8080/ctl/tar_files]
ws_addapp.sh [-t] [CX1:core.dll] [-a] [app-24.1.0.5.sh] [-p] [9090] [-vc] [main] [-st] [1] [-sn] [db.local] [-dn] [appdb]
)");
  EXPECT_TRUE(succeeded);
}

TEST_F(DeployControllerTest, GivesTheVersionNoticeOnlyForPatchesOlderThanTheTarget) {
  const struct {
    const char* version;
    bool notice;
  } cases[] = {{"24.1.0.5", true},
               {"23.9", true},
               {"24.2.0.0", false},
               {"24.2.0.1", false},
               {"25.0", false}};
  PrepareDeploy();
  for (const auto& test : cases) {
    site.Set("Patch/Version", test.version);
    site.ServeFile(std::string("patches/app-") + test.version + ".sh", "echo\n");
    Open();
    std::string output = Deploy(false, false);
    EXPECT_EQ(output.find("DEPLOY_PATCH_VERSION_WARNING1.24.2.*\n") != std::string::npos,
              test.notice)
        << test.version;
    EXPECT_NE(output.find("<green>DEPLOY_SUCCESS</>"), std::string::npos) << test.version;
  }
}

TEST_F(DeployControllerTest, StartsWithThePatchDownloadWhenNothingIsInstalled) {
  PrepareDeploy();
  Open();
  std::string output = Deploy(false, false);
  EXPECT_EQ(output.substr(0, output.find("\n<green>")),
            "<yellow>SAVE_CONFIG_SKIPPED</>\n"
            "<yellow>DOWNLOAD_PATCH</><cyan>{site}/web/web_8080/ctl/tar_files</>\n"
            "<yellow>app-24.2.0.7.sh</>");
  EXPECT_EQ(Records().substr(0, Records().find('\n')),
            "wget [{server}/patches/app-24.2.0.7.sh] [-P] [{site}/web/web_8080/ctl/tar_files]");
}

TEST_F(DeployControllerTest, StopsAtAFailedRuntimeDownload) {
  PrepareDeploy();
  site.Set("Docker/Url", site.Url("missing.tar.gz"));
  Open();
  EXPECT_EQ(Deploy(true, true),
            "<yellow>SAVE_CONFIG_SKIPPED</>\n<yellow>DOWNLOAD_DOCKER</>\n"
            "<red>DOWNLOAD_DOCKER_CODE2048</>\n");
  EXPECT_EQ(Records(), "wget [{server}/missing.tar.gz] [-P] [./temp]\n");
  EXPECT_FALSE(succeeded);
}

TEST_F(DeployControllerTest, StopsAtTheFirstFailingStep) {
  const struct {
    const char* name;
    int runtimeInstall, serverInstall, registration;
    const char* lastLine;
    const char* lastRecord;
  } cases[] = {
      {"runtime", 3, 0, 0, "<red>DOCKER_INSTALL_FAIL768</>", "runtime-1.0/install.sh"},
      {"server", 0, 1, 0, "<red>SERVER_INSTALL_FAIL256</>", "vaq-web/install.sh"},
      {"registration", 0, 0, 1, "<red>DEPLOY_FAIL256</>", "ws_addapp.sh"},
  };
  for (const auto& test : cases) {
    site.ClearRecords();
    site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", test.runtimeInstall, 0);
    site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", test.serverInstall, 0);
    site.ServeFile("patches/app-24.2.0.7.sh", "echo\n");
    site.MakeControlDirectory(ControlPath(), test.registration, 0, 0);
    Open();
    std::string output = Deploy(true, true);
    std::string records = Records();
    EXPECT_EQ(LastLine(output), std::string(test.lastLine) + "\n") << test.name;
    EXPECT_EQ(LastLine(records).substr(0, strlen(test.lastRecord)), test.lastRecord) << test.name;
    EXPECT_FALSE(succeeded) << test.name;
  }
}

TEST_F(DeployControllerTest, SkipsCertificateChecksOnEveryDownloadWhenAsked) {
  PrepareDeploy();
  Open();
  Deploy(true, true, true);
  EXPECT_EQ(Records(), R"(wget [{server}/runtime-1.0.tar.gz] [-P] [./temp] [--no-check-certificate]
runtime-1.0/install.sh
wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp] [--no-check-certificate]
vaq-web/install.sh [-ws] [tomcat] [-p] [8080] [-cs] [docker] [-pp] [8000] [-l] [ru_RU.utf8]
wget [{server}/patches/app-24.2.0.7.sh] [-P] [{site}/web/web_8080/ctl/tar_files] [--no-check-certificate]
ws_addapp.sh [-t] [CX1] [-a] [app-24.2.0.7.sh] [-p] [9090] [-vc] [main] [-st] [1] [-sn] [db.local] [-dn] [appdb]
)");
}

TEST_F(DeployControllerTest, PassesHostileValuesAsOneIntactArgumentAndRunsNothing) {
  site.Set("WebServer/Path", site.Path("web dir's $(touch run1)") + "/");
  site.Set("WebServer/Type", "a \"b\" `touch run2`");
  site.Set("WebServer/ContSoft", "$(touch run3) \\n");
  site.Set("Install/ComplexId", "id with blanks");
  site.Set("Install/DLL", "x'y");
  site.Set("Install/Catalog", "c$HOME`touch run4`");
  site.Set("Connection/Server", "srv\\\"; touch run5; \"");
  site.Set("Connection/Base", "base&more");
  site.Set("Patch/Version", "24.1");
  site.Set("Patch/Url", site.Url("p&q;x"));
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("p&q;x/app-24.1.sh", "echo\n");
  std::string control = site.Path("web dir's $(touch run1)/web_8080/ctl");
  site.MakeControlDirectory(control, 0, 0, 0);
  site.RecordDownloads();
  Open();
  std::string output = Deploy(false, true);
  EXPECT_NE(output.find("<green>DEPLOY_SUCCESS</>"), std::string::npos) << output;
  EXPECT_EQ(Records(), R"(wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp]
vaq-web/install.sh [-ws] [a "b" `touch run2`] [-p] [8080] [-cs] [$(touch run3) \n] [-pp] [8000]
wget [{server}/p&q;x/app-24.1.sh] [-P] [{site}/web dir's $(touch run1)/web_8080/ctl/tar_files]
ws_addapp.sh [-t] [id with blanks:x'y] [-a] [app-24.1.sh] [-p] [9090] [-vc] [c$HOME`touch run4`] [-st] [1] [-sn] [srv\"; touch run5; "] [-dn] [base&more]
)");
  for (const char* file : {"run1", "run2", "run3", "run4", "run5"})
    EXPECT_FALSE(std::filesystem::exists(file)) << file;
}

TEST_F(DeployControllerTest, InstallsTheNewArchiveAndPatchOnARerun) {
  PrepareDeploy();
  Open();
  Deploy(true, false);
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0, "version 2");
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch version 2\n");
  site.ClearRecords();
  Deploy(true, false);
  EXPECT_EQ(Records(), R"(wget [{server}/runtime-1.0.tar.gz] [-P] [./temp]
runtime-1.0/install.sh version 2
wget [{server}/patches/app-24.2.0.7.sh] [-P] [{site}/web/web_8080/ctl/tar_files]
ws_addapp.sh [-t] [CX1] [-a] [app-24.2.0.7.sh] [-p] [9090] [-vc] [main] [-st] [1] [-sn] [db.local] [-dn] [appdb]
)");
  std::ifstream patch(ControlPath() + "/tar_files/app-24.2.0.7.sh");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(patch), {}), "echo patch version 2\n");
  EXPECT_FALSE(std::filesystem::exists(ControlPath() + "/tar_files/app-24.2.0.7.sh.1"));
  EXPECT_FALSE(std::filesystem::exists("temp/runtime-1.0.tar.gz.1"));
}

TEST_F(DeployControllerTest, RefusesPathsThatWouldBeReadAsOptions) {
  PrepareDeploy();
  site.Set("Docker/Path", "-rf");
  Open();
  std::string output = Deploy(true, true);
  EXPECT_EQ(output.substr(output.rfind("<green>UNZIP_DOCKER_GRANTED")),
            "<green>UNZIP_DOCKER_GRANTED</>\n<red>UNZIP_DOCKER_FAILED-1</>\n");
  EXPECT_EQ(Records(), "wget [{server}/runtime-1.0.tar.gz] [-P] [./temp]\n");
  EXPECT_FALSE(succeeded);

  site.Set("Docker/Url", "-O/etc/passwd");
  site.ClearRecords();
  Open();
  EXPECT_EQ(Deploy(true, true),
            "<yellow>SAVE_CONFIG_SKIPPED</>\n<yellow>DOWNLOAD_DOCKER</>\n"
            "<red>DOWNLOAD_DOCKER_CODE-1</>\n");
  EXPECT_EQ(Records(), "");
  EXPECT_NE(Log().find("Controller[Deploy]::run refused wget -O/etc/passwd -P ./temp because "
                       "-O/etc/passwd begins with -."),
            std::string::npos);
}

TEST_F(DeployControllerTest, SavesChangedSettingsBeforeAnythingElse) {
  PrepareDeploy();
  site.Set("Docker/Url", site.Url("missing.tar.gz"));
  Open();
  settings->SetString(Settings::Install + "/Catalog", "changed");
  std::string output = Deploy(true, false);
  EXPECT_EQ(output.substr(0, output.find('\n')), "<yellow>SAVE_CONFIG</>");
  EXPECT_FALSE(settings->IsModified());
  Settings saved(logger.get(), site.Path("work/Settings.json"));
  saved.Load();
  EXPECT_EQ(saved.GetString(Settings::Install + "/Catalog"), "changed");
}

TEST_F(DeployControllerTest, RejectsAPatchVersionThatIsNoVersion) {
  site.Set("Patch/Version", "24.x");
  Open();
  try {
    DeployController controller(Arguments(true, true, false), &programVersion);
    FAIL() << "no exception";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Invalid version string part");
  }
}

}  // namespace
