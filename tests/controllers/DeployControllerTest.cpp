#include "controllers/DeployController.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "controllers/ControllerFixture.h"
#include "controllers/Shell.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
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
    Open();
    return Run<DeployController>(Arguments(installDocker, installWebServer, ignoreCerts));
  }
};

TEST_F(DeployControllerTest, PassesHostileValuesAsOneIntactArgumentAndRunsNothing) {
  site.Set("WebServer/Path", site.Path("web dir's $(touch run1)") + "/");
  site.Set("WebServer/Type", "a \"b\" `touch run2`");
  site.Set("Install/ComplexId", "id with blanks");
  site.Set("Install/Catalog", "c$HOME`touch run4`");
  site.Set("Connection/Base", "~/base&more");
  site.Set("Patch/Version", "24.1");
  site.Set("Patch/Url", site.Url("p&q;x"));
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("p&q;x/app-24.1.sh", "echo\n");
  site.MakeControlDirectory(site.Path("web dir's $(touch run1)/web_8080/ctl"), 0, 0, 0);
  site.RecordDownloads();
  std::string output = Deploy(false, true, true);
  EXPECT_NE(output.find("<green>DEPLOY_SUCCESS</>\n<yellow>HEALTH_NOT_SET</>\n"),
            std::string::npos);
  EXPECT_EQ(
      Records(),
      R"(wget [{server}/vaq-web_d2.tar.gz] [-P] [./temp] [--server-response] [--no-check-certificate]
vaq-web/install.sh [-ws] [a "b" `touch run2`] [-p] [8080] [-cs] [docker] [-pp] [8000]
wget [{server}/p&q;x/app-24.1.sh] [-P] [{site}/web dir's $(touch run1)/web_8080/ctl/tar_files] [--server-response] [--no-check-certificate]
ws_addapp.sh [-t] [id with blanks:core.dll] [-a] [app-24.1.sh] [-p] [9090] [-vc] [c$HOME`touch run4`] [-st] [1] [-sn] [db.local] [-dn] [~/base&more]
)");
  // Each logged command line, pasted into bash, runs exactly the same command.
  std::string records = Records();
  site.ClearRecords();
  for (const std::string& line : LoggedCommands(Log()))
    std::system(("bash -c " + Shell::Word(line) + " >/dev/null 2>&1").c_str());
  EXPECT_EQ(Records(), records);
  for (const char* file : {"run1", "run2", "run4"})
    EXPECT_FALSE(fs::exists(file)) << file;
}

// Docker/Url and Docker/Path starting with "-" would be read as options: those steps are refused.
// The downloads ahead start once the runtime's archive is there: nothing but downloads ran when its
// unpacking is refused.
TEST_F(DeployControllerTest, StopsAtTheFirstFailingOrRefusedStep) {
  const struct {
    std::string runtimeUrl, runtimePath;
    int registration;
    const char *lastLine, *firstRecord, *lastRecord;
  } cases[] = {
      {"-O/etc/passwd", site.Path("docker/"), 0, "<red>DOWNLOAD_DOCKER_CODE-1</>", "", ""},
      {site.Url(DeploymentSite::RUNTIME_ARCHIVE), "-rf", 0, "<red>UNZIP_DOCKER_FAILED-1</>",
       "wget [{server}/runtime-1.0.tar.gz]", "wget ["},
      {site.Url(DeploymentSite::RUNTIME_ARCHIVE), site.Path("docker/"), 1, "<red>DEPLOY_FAIL256</>",
       "wget [{server}/runtime-1.0.tar.gz]", "ws_addapp.sh"},
  };
  site.RecordDownloads();
  site.ServeEverything();
  for (const auto& test : cases) {
    site.ClearRecords();
    site.Set("Docker/Url", test.runtimeUrl);
    site.Set("Docker/Path", test.runtimePath);
    site.MakeControlDirectory(ControlPath(), test.registration, 0, 0);
    std::string output = Deploy(true, true), records = Records();
    EXPECT_EQ(LastLine(output), std::string(test.lastLine) + "\n");
    EXPECT_EQ(records.substr(0, strlen(test.firstRecord)), test.firstRecord) << test.lastLine;
    EXPECT_EQ(LastLine(records).substr(0, strlen(test.lastRecord)), test.lastRecord)
        << test.lastLine;
    EXPECT_EQ(records.empty(), !*test.lastRecord) << test.lastLine;
    EXPECT_FALSE(succeeded) << test.lastLine;
  }
}

// Each download is checked right after it arrives: a wrong digest removes it and ends the deploy
// before its first use; right digests, in either case, let the whole deploy through.
TEST_F(DeployControllerTest, UsesNoDownloadWhoseChecksumDiffers) {
  site.ServeEverything();
  const struct {
    const char *path, *served, *firstUse;
    std::string file;
  } downloads[] = {
      {"Docker/Sha256", DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0/install.sh",
       "./temp/runtime-1.0.tar.gz"},
      {"WebServer/Sha256", DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web/install.sh",
       "./temp/vaq-web_d2.tar.gz"},
      {"Patch/Sha256", "patches/app-24.2.0.7.sh", "ws_addapp.sh",
       ControlPath() + "/tar_files/app-24.2.0.7.sh"},
  };
  std::string right[3], reason, wrong(64, '0');
  for (int i = 0; i < 3; ++i)
    Sha256::OfFile(site.Path(std::string("served/") + downloads[i].served), &right[i], &reason);
  for (int spoiled = 0; spoiled < 4; ++spoiled) {  // the fourth run spoils none
    for (int i = 0; i < 3; ++i)
      site.Set(downloads[i].path, i == spoiled ? wrong : i == 0 ? Upper(right[i]) : right[i]);
    site.ClearRecords();
    std::string output = Deploy(true, true);
    EXPECT_EQ(succeeded, spoiled == 3) << output;
    if (spoiled == 3)
      continue;
    EXPECT_EQ(LastLine(output), "<red>SHA256_MISMATCH" + Normalised(downloads[spoiled].file) +
                                    " (SHA256_EXPECTED" + wrong + ", SHA256_ACTUAL" +
                                    right[spoiled] + ")</>\n");
    EXPECT_FALSE(fs::exists(downloads[spoiled].file));
    EXPECT_EQ(Records().find(downloads[spoiled].firstUse), std::string::npos) << Records();
  }
}

// A temp folder that is a link would put the downloads elsewhere; a name that leaves its folder
// would be checked and granted out there: both stop the deploy before that download.
TEST_F(DeployControllerTest, DownloadsNothingThroughALinkNorOutsideItsFolder) {
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  site.RecordDownloads();
  site.ServeFile("../victim-24.2.0.7", "kept");
  fs::create_directories(site.Path("elsewhere"));
  site.ServeFile("../elsewhere/runtime-1.0.tar.gz", "kept");
  fs::create_directory_symlink(site.Path("elsewhere"), "temp");
  EXPECT_EQ(LastLine(Deploy(true, false)), "<red>DOWNLOAD_FOLDER_REFUSED./temp</>\n");
  EXPECT_EQ(Records(), "");
  EXPECT_EQ(fs::file_size(site.Path("elsewhere/runtime-1.0.tar.gz")), 4u);
  fs::remove("temp");
  site.Set("Patch/Template", "../../../../victim-*");
  EXPECT_EQ(LastLine(Deploy(false, false)),
            "<red>FILE_NAME_REFUSED../../../../victim-24.2.0.7</>\n");
  EXPECT_EQ(Records(), "");
  EXPECT_EQ(fs::status(site.Path("victim-24.2.0.7")).permissions() & fs::perms::owner_exec,
            fs::perms::none);
}

}  // namespace

// A server error or a lost connection is tried again, a refusal is not.
TEST_F(DeployControllerTest, TriesADownloadAgainOnlyAfterAServerError) {
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch\n");
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  const struct {
    std::vector<int> answers;
    bool succeeds;
    size_t requests;
  } cases[] = {{{503, 503}, true, 3}, {{404}, false, 1}};
  for (const auto& c : cases) {
    site.Server().AnswerNext(c.answers);
    size_t before = site.Server().Requests().size();
    std::string output = Deploy(false, false);
    EXPECT_EQ(succeeded, c.succeeds) << output;
    std::string requests = site.Server().Requests().substr(before);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), '\n'), c.requests) << requests;
    EXPECT_EQ(output.find("<yellow>DOWNLOAD_RETRY1 (wget exit status 8"),
              c.succeeds ? output.find("<yellow>DOWNLOAD_RETRY") : std::string::npos)
        << output;
  }
}

// A local path or a file:// address is copied, checked and used as a download is.
TEST_F(DeployControllerTest, CopiesLocalSourcesWithTheServerStopped) {
  site.ServeEverything();
  std::string digest, reason;
  Sha256::OfFile(site.Path("served/patches/app-24.2.0.7.sh"), &digest, &reason);
  site.Set("Patch/Sha256", digest);
  site.Server().Stop();
  for (std::string prefix : {"", "file://", "file://localhost"}) {
    site.Set("Docker/Url", prefix + site.Path("served/") + DeploymentSite::RUNTIME_ARCHIVE);
    site.Set("WebServer/Url", prefix + site.Path("served/") + DeploymentSite::WEB_SERVER_ARCHIVE);
    site.Set("Patch/Url", prefix + site.Path("served/patches"));
    fs::remove_all(ControlPath() + "/tar_files/app-24.2.0.7.sh");
    std::string output = Deploy(true, true);
    EXPECT_TRUE(succeeded) << prefix << output;
    EXPECT_NE(output.find("<green>SHA256_MATCH"), std::string::npos) << output;
  }
  std::vector<std::string> commands = LoggedCommands(Log());
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                          [](const std::string& line) { return line.rfind("cp /", 0) == 0; }),
            3);  // in the log of the last deploy
}

// http_proxy and no_proxy reach wget: a loopback server standing in for the proxy sees the whole
// address asked for, unless no_proxy names the host.
TEST_F(DeployControllerTest, DownloadsThroughTheProxyOfTheEnvironment) {
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch\n");
  site.MakeControlDirectory(ControlPath(), 0, 0, 0);
  TempDir nothing;
  LoopbackServer proxy(nothing.Path());
  setenv("http_proxy", proxy.Url("").c_str(), 1);
  const struct {
    const char* noProxy;
    std::string proxied;
  } cases[] = {{"", site.Url("patches/app-24.2.0.7.sh") + "\n"}, {"127.0.0.1", ""}};
  for (const auto& c : cases) {
    setenv("no_proxy", c.noProxy, 1);
    size_t before = proxy.Requests().size();
    std::string output = Deploy(false, false);
    EXPECT_EQ(proxy.Requests().substr(before), c.proxied);
    EXPECT_EQ(succeeded, c.proxied.empty()) << output;
  }
  unsetenv("http_proxy");
  unsetenv("no_proxy");
}

// While the runtime unpacks and installs, the web server's archive and the patch download ahead:
// the lines printed stay those of one step after another, and the log holds each command at its
// step.
TEST_F(DeployControllerTest, DownloadsAheadWithTheLinesAndCommandsOfOneStepAfterAnother) {
  site.ServeEverything();
  std::string output = Deploy(true, true);
  EXPECT_TRUE(succeeded) << output;
  EXPECT_EQ(
      Normalised(output),
      "<yellow>SAVE_CONFIG_SKIPPED</>\n<yellow>DOWNLOAD_DOCKER</>\n"
      "<green>DOWNLOAD_DOCKER_SUCCESS</>\n<yellow>SHA256_NOT_SET./temp/runtime-1.0.tar.gz</>\n"
      "<yellow>UNZIP_DOCKER</>\n<green>UNZIP_DOCKER_GRANTED</>\n"
      "runtime-1.0/\nruntime-1.0/install.sh\nruntime-1.0/uninstall.sh\n"
      "<green>UNZIP_DOCKER_SUCCESS</>\n<yellow>DOCKER_INSTALATION</>\n"
      "<green>DOCKER_INSTALL_SUCCESS</>\n<yellow>DOWNLOAD_SERVER</>\n"
      "<green>DOWNLOAD_SERVER_SUCCESS</>\n<yellow>SHA256_NOT_SET./temp/vaq-web_d2.tar.gz</>\n"
      "UNZIP_SERVER\n<green>UNZIP_SERVER_GRANTED</>\n"
      "vaq-web/\nvaq-web/install.sh\nvaq-web/uninstall.sh\n<green>UNZIP_SERVER_SUCCESS</>\n"
      "<yellow>SERVER_INSTALATION</>\n<green>SERVER_INSTALL_SUCCESS</>\n"
      "<yellow>DOWNLOAD_PATCH</><cyan>{site}/web/web_8080/ctl/tar_files</>\n"
      "<yellow>app-24.2.0.7.sh</>\n<green>DOWNLOAD_PATCH_SUCCESS</>\n"
      "<yellow>SHA256_NOT_SET{site}/web/web_8080/ctl/tar_files/app-24.2.0.7.sh</>\n"
      "<yellow>PATCH_GRANT</>\n<green>PATCH_GRANT_SUCCESS</>\n<yellow>DEPLOY_PATCH</>\n"
      "<green>DEPLOY_SUCCESS</>\n<yellow>HEALTH_NOT_SET</>\n");
  std::string log = Log();
  // They start once the runtime's archive is there, before it is unpacked.
  EXPECT_LT(log.find("::downloadAhead wget " + site.Url("patches/app-24.2.0.7.sh") +
                     " -P ./temp --server-response runs ahead."),
            log.find("run tar -C " + site.Path("docker/")));
  std::string commands;
  for (const std::string& line : LoggedCommands(log))
    commands += Normalised(line).substr(0, 40) + "\n";
  EXPECT_EQ(commands,
            "mkdir temp\nwget {server}/runtime-1.0.tar.gz -P ./te\n"
            "chmod +x ./temp/runtime-1.0.tar.gz\ntar -C {site}/docker/ -xvf ./temp/runtim\n"
            "bash {site}/docker/runtime-1.0/install.s\nwget {server}/vaq-web_d2.tar.gz -P ./tem\n"
            "chmod +x ./temp/vaq-web_d2.tar.gz\ntar -C {site}/web/ -xvf ./temp/vaq-web_d\n"
            "bash {site}/web/vaq-web/install.sh -ws n\nwget {server}/patches/app-24.2.0.7.sh -P\n"
            "mv -f ./temp/app-24.2.0.7.sh {site}/web/\nchmod +x {site}/web/web_8080/ctl/tar_fil\n"
            "bash {site}/web/web_8080/ctl/ws_addapp.s\n");
  EXPECT_FALSE(fs::exists("wget-log"));
}

// A web server archive with the runtime archive's file name would take its place in temp/ before
// the runtime is unpacked: it is downloaded at its step instead of ahead.
TEST_F(DeployControllerTest, DownloadsAnArchiveNamedAsTheRuntimesAtItsStep) {
  site.ServeEverything();
  const std::string archive = std::string("web/") + DeploymentSite::RUNTIME_ARCHIVE;
  fs::create_directories(site.Path("served/web"));
  site.ServeArchive(archive, "runtime-1.0", 0, 0);  // the top folder is named after the file
  site.Set("WebServer/Url", site.Url(archive));
  site.MakeControlDirectory(site.Path("web/runtime-1.0_8080/ctl"), 0, 0, 0);
  std::string output = Deploy(true, true);
  EXPECT_TRUE(succeeded) << output;
  std::string log = Log();
  EXPECT_EQ(log.find("::downloadAhead wget " + site.Url(archive)), std::string::npos);
  EXPECT_NE(log.find("::downloadAhead wget " + site.Url("patches/app-24.2.0.7.sh")),
            std::string::npos);
}

// The patch downloaded ahead goes into its folder, made when the web server did not bring it; a
// patch that cannot be had, downloaded ahead or copied at its step, ends the deploy there.
TEST_F(DeployControllerTest, MovesThePatchIntoItsFolderOrStopsWhenItCannotBeHad) {
  site.ServeEverything();
  fs::remove_all(ControlPath() + "/tar_files");
  std::string output = Deploy(true, true);
  EXPECT_TRUE(succeeded) << output;
  EXPECT_TRUE(fs::is_regular_file(ControlPath() + "/tar_files/app-24.2.0.7.sh"));
  fs::remove(site.Path("served/patches/app-24.2.0.7.sh"));
  const struct {
    std::string patchUrl;
    const char* lastLine;
  } cases[] = {{site.Url("patches"), "<red>DOWNLOAD_PATCH_CODE2048</>\n"},          // wget status 8
               {site.Path("served/patches"), "<red>DOWNLOAD_PATCH_CODE256</>\n"}};  // cp fails
  for (const auto& c : cases) {
    site.Set("Patch/Url", c.patchUrl);
    output = Deploy(true, true);
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(LastLine(output), c.lastLine) << output;
  }
}

// A server that sends the start of the archive and then nothing more: the download ahead is
// still running when the runtime's installer fails, and is ended with its partial file.
TEST_F(DeployControllerTest, AFailedInstallStopsTheDownloadsAheadAndRemovesTheirPartialFiles) {
  site.ServeEverything();
  std::ofstream(site.Path("stalling.py")) << R"(import http.server, sys, time
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header('Content-Length', '10000000')
        self.end_headers()
        self.wfile.write(b'x' * 100000)
        self.wfile.flush()
        time.sleep(30)
http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), Handler).serve_forever()
)";
  LoopbackServer stalling(site.Path("served"), site.Path("stalling.py"));
  site.Set("WebServer/Url", stalling.Url(DeploymentSite::WEB_SERVER_ARCHIVE));
  site.ServeRuntime(
      "for i in $(seq 100); do [ -s temp/vaq-web_d2.tar.gz ] && echo partial > seen && break;"
      " sleep 0.05; done\nexit 1\n");
  auto start = std::chrono::steady_clock::now();
  std::string output = Deploy(true, true);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(LastLine(output), "<red>DOCKER_INSTALL_FAIL256</>\n");
  EXPECT_TRUE(fs::exists("seen"));
  for (const char* left : {"temp/vaq-web_d2.tar.gz", "temp/vaq-web_d2.tar.gz.output",
                           "temp/app-24.2.0.7.sh.output", "wget-log"})
    EXPECT_FALSE(fs::exists(left)) << left;
}

// Both downloads ahead meet a server error: each is tried again at its step, with the line of a
// try after a server error, as it would have been there.
TEST_F(DeployControllerTest, TriesADownloadAheadAgainAtItsStepAfterAServerError) {
  site.ServeEverything();
  site.Set("Docker/Url", site.Path("served/") + DeploymentSite::RUNTIME_ARCHIVE);
  site.Server().AnswerNext({503, 503});
  std::string output = Deploy(true, true);
  EXPECT_TRUE(succeeded) << output;
  for (const char* step :
       {"<yellow>DOWNLOAD_SERVER</>\n<yellow>DOWNLOAD_RETRY1 (wget exit status 8",
        "<yellow>app-24.2.0.7.sh</>\n<yellow>DOWNLOAD_RETRY1 (wget exit status 8"})
    EXPECT_NE(output.find(step), std::string::npos) << output;
  std::string requests = site.Server().Requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), '\n'), 4) << requests;
}
