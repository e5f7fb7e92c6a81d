// The checks of an action against the loopback site, through the built program: each problem
// fails check with its line and makes the action refuse before anything runs.
#include "preflight/Preflight.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "app/Logger.h"
#include "controllers/Shell.h"
#include "support/ProgramSite.h"
#include "support/Tmpfs.h"
#include "util/Json.h"

namespace {

using Call = ProgramSite::Call;
const std::string REFUSED = "Checks failed; nothing was run or changed:\n";

// A listener on a free loopback port while it lives.
class Listener {
 public:
  Listener() : socket(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(socket, reinterpret_cast<sockaddr*>(&address), length);
    listen(socket, 1);
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
  ~Listener() { close(socket); }
  int socket;
  int port = 0;
};

// The site ready for a deploy, update or delete that would succeed.
class Stage : public ProgramSite {
 public:
  Stage() {
    site.ServeEverything();
    site.RecordDownloads();
  }

  // The program on the work folder, with environment assignments before it, its errors in out.
  Call Run(const std::vector<std::string>& arguments, const std::string& environment = "") {
    WriteSettings();
    return Shell("(" + environment + " " + Command(arguments) + " </dev/null 2>&1)");
  }

  // What the site recorded apart from the header-only requests of the checks.
  std::string Ran() const {
    std::string ran;
    std::istringstream records(site.Records());
    for (std::string line; std::getline(records, line);)
      if (line.find("[--spider]") == std::string::npos)
        ran += line + "\n";
    return ran;
  }

  // PATH=FOLDER holding the programs an action runs, but wget.
  std::string PathWithoutWget() {
    std::string bin = site.Path("nowget");
    std::filesystem::create_directories(bin);
    for (const char* program : {"bash", "tar", "gzip", "chmod", "mkdir", "rm"})
      std::filesystem::create_symlink("/bin/" + std::string(program), bin + "/" + program);
    return "PATH=" + bin;
  }

  std::unique_ptr<Tmpfs> mount;
};

}  // namespace

TEST(Preflight, EachProblemFailsItsCheckAndTheActionRunsNothing) {
  if (!ProgramSite::Built())
    GTEST_SKIP() << "the program is not built";
  Listener listener;
  const std::string unreachable = "http://127.0.0.1:1/runtime-1.0.tar.gz";
  struct Case {
    const char* action;
    // Makes the problem; returns the environment of the run and the start of the failed line.
    std::function<std::pair<std::string, std::string>(Stage&)> arrange;
  } cases[] = {
      {"deploy",
       [](Stage& s) {
         return std::make_pair(s.PathWithoutWget(), "program:wget: PATH: not found on PATH");
       }},
      {"deploy",
       [](Stage& s) {
         std::filesystem::remove(s.site.Path("served/patches/app-24.2.0.7.sh"));
         return std::make_pair(std::string(), "address:Patch/Url: " +
                                                  s.site.Url("patches/app-24.2.0.7.sh") + ": 404");
       }},
      {"deploy",
       [&](Stage& s) {
         s.site.Set("Docker/Url", unreachable);
         return std::make_pair(std::string(),
                               "address:Docker/Url: " + unreachable + ": Connection refused");
       }},
      {"deploy",
       [&](Stage& s) {
         s.site.SetInteger("WebServer/Port", listener.port);
         return std::make_pair(std::string(),
                               "port:WebServer/Port: " + std::to_string(listener.port) +
                                   ": in use; needs a free port");
       }},
      {"deploy",
       [](Stage& s) {
         s.mount = std::make_unique<Tmpfs>(s.site.Path("docker"), "1m");
         return std::make_pair(
             s.mount->Mounted() && s.mount->MakeReadOnly() ? "" : "skip",
             "folder:Docker/Path: " + s.site.Path("docker") + "/: Read-only file system");
       }},
      {"deploy",
       [](Stage& s) {
         s.mount = std::make_unique<Tmpfs>(s.site.Path("web"), "64k");
         s.site.ServeFile(DeploymentSite::WEB_SERVER_ARCHIVE, std::string(100000, 'x'));
         return std::make_pair(s.mount->Mounted() ? "" : "skip",
                               "space:WebServer/Path: " + s.site.Path("web") + ": free ");
       }},
      {"deploy",
       [](Stage& s) {
         s.site.Set("Docker/Url", s.site.Path("served"));
         return std::make_pair(std::string(), "address:Docker/Url: " + s.site.Path("served") +
                                                  ": not a regular file");
       }},
      {"update",
       [](Stage& s) {
         std::filesystem::remove(s.site.Path("web/web_8080/ctl/ws_updapp.sh"));
         return std::make_pair(
             std::string(),
             "script:ws_updapp.sh: " + s.site.Path("web/web_8080/ctl/ws_updapp.sh") + ": missing");
       }},
  };
  for (const Case& c : cases) {
    Stage stage;
    auto [environment, failed] = c.arrange(stage);
    if (environment == "skip") {
      std::cout << "[  SKIPPED ] " << failed << ": mounting is not allowed here\n";
      continue;
    }
    Call checked = stage.Run({"check", c.action}, environment);
    EXPECT_EQ(checked.status, 1) << checked.out;
    EXPECT_NE(("\n" + checked.out).find("\n" + failed), std::string::npos) << failed << checked.out;
    Call refused = stage.Run({c.action}, environment);
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_EQ(refused.out.find(REFUSED), 0u) << refused.out;
    EXPECT_NE(refused.out.find("\n" + failed), std::string::npos) << refused.out;
    EXPECT_EQ(stage.Ran(), "");
    EXPECT_FALSE(std::filesystem::exists(stage.site.Path("app/temp")));
  }
}

TEST(Preflight, AllGoodPassesAWarningPassesAndNoPreflightRunsRegardless) {
  if (!ProgramSite::Built())
    GTEST_SKIP() << "the program is not built";
  Stage stage;
  Listener listener;
  stage.site.SetInteger("Install/Port", listener.port);  // held, beside an installed web server
  Call checked = stage.Run({"check"});
  EXPECT_EQ(checked.status, 0) << checked.out;
  EXPECT_EQ(checked.out, "port:Install/Port: " + std::to_string(listener.port) +
                             ": in use, perhaps by the installed application\n"
                             "All checks passed for deploy\n");
  Call deployed = stage.Run({"deploy"});
  EXPECT_EQ(deployed.status, 0) << deployed.out;
  EXPECT_NE(stage.Ran().find("ws_addapp.sh"), std::string::npos);

  std::filesystem::remove(stage.site.Path("web/web_8080/ctl/ws_updapp.sh"));
  stage.site.ClearRecords();
  Call forced = stage.Run({"update", "--no-preflight"});
  EXPECT_EQ(forced.out.find("Checks skipped (--no-preflight).\n"), 0u) << forced.out;
  EXPECT_EQ(forced.status, 1);  // bash found no script: it ran
}

TEST(Preflight, JsonCarriesTheSameNamesInEveryLanguage) {
  if (!ProgramSite::Built())
    GTEST_SKIP() << "the program is not built";
  Stage stage;
  std::filesystem::remove(stage.site.Path("web/web_8080/ctl/ws_delapp.sh"));
  Logger logger("");
  std::vector<std::string> names[2], details[2];
  for (int russian = 0; russian < 2; ++russian) {
    if (russian)
      std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Resources.ru.res",
                                 stage.site.Path("app/Resources.res"),
                                 std::filesystem::copy_options::overwrite_existing);
    Call call = stage.Run({"check", "--json", "delete"});
    EXPECT_EQ(call.status, 1);
    Json report(&logger, call.out);
    EXPECT_EQ(report.GetItem("action")->GetString(), "delete");
    EXPECT_FALSE(report.GetItem("ok")->GetBoolean());
    Json* checks = report.GetItem("checks");
    for (int i = 0; i < checks->Count(); ++i) {
      names[russian].push_back(checks->GetItem(i)->GetItem("name")->GetString());
      details[russian].push_back(checks->GetItem(i)->GetItem("detail")->GetString());
      EXPECT_EQ(checks->GetItem(i)->GetItem("ok")->GetBoolean(),
                names[russian].back() != "script:ws_delapp.sh");
    }
  }
  EXPECT_EQ(names[0], names[1]);
  EXPECT_NE(details[0], details[1]);
  EXPECT_EQ(names[0].front(), "settings");
}

TEST(Preflight, EachActionNameReadsBackAsItsAction) {
  for (const char* name : {"deploy", "update", "rollback", "delete"}) {
    Preflight::Action action{};
    ASSERT_TRUE(Preflight::ActionNamed(name, &action));
    EXPECT_EQ(Preflight::NameOf(action), name);
  }
}
