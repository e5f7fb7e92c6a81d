#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "forms/EndToEnd.h"
#include "support/DeploymentSite.h"

namespace {
const char* const ADDITIONS_DELETE = "Delete the current installation >Delete";
const char* const PATH_INVALID = "Enter the settings file of the other installation.";
const char* const WEB_SERVER_FORM = "┌Web server settings";
const char* const PORT_INVALID = "Enter a port from 1 to 65535.";
const std::string RED = "\x1b[41m";  // the background of error messages
const std::string PROMPT = "Press Enter to continue.";

// Clears the focused text field and types text.
void retype(TmuxPane& pane, const std::string& text) {
  pane.Keys({"End"});
  for (int i = 0; i < 20; ++i)
    pane.Keys({"BSpace"});
  if (!text.empty())
    pane.Keys({"'" + text + "'"});
}

bool gone(TmuxPane& pane, const std::string& text) {
  return pane.WaitForScreen(
      [&text](const std::string& screen) { return screen.find(text) == std::string::npos; });
}

// Whether text is the last one written on the screen.
bool endsWith(const std::string& screen, const std::string& text) {
  size_t end = screen.find_last_not_of("\n ") + 1;
  return end >= text.size() && screen.compare(end - text.size(), text.size(), text) == 0;
}

// Text with each pair's first part replaced by its second.
std::string edited(std::string text, const std::map<std::string, std::string>& changes) {
  for (const auto& [from, to] : changes)
    text.replace(text.find(from), from.size(), to);
  return text;
}

void save(TmuxPane& pane) {
  pane.Click(1, 28);
  EXPECT_TRUE(pane.WaitFor("The settings have been saved.")) << pane.Screen();
  pane.Keys({"Escape"});
  EXPECT_TRUE(gone(pane, "have been saved"));
}

// Opens the web server form, types port into its port field and presses Apply.
void applyWebServerPort(TmuxPane& pane, const std::string& port) {
  pane.Click(30, 4);
  EXPECT_TRUE(pane.WaitFor(WEB_SERVER_FORM)) << pane.Screen();
  pane.Keys({"Tab", "Tab", "Tab", "Tab"});
  retype(pane, port);
  pane.Keys({"Tab", "Tab", "Tab", "Enter"});
}

// A site whose work folder holds the current installation's settings and the shipped texts.
class SiteEndToEnd : public EndToEnd {
 protected:
  SiteEndToEnd() {
    site.MakeControlDirectory(site.Path("web/web_8080/ctl"), 0, 0, 0);
    site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
    site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
    site.WriteSettings("app/Settings.json");
    std::filesystem::copy_file(SHARE + "Resources.res", site.Path("app/Resources.res"));
  }
  std::string Work(const std::string& name) const { return site.Path("app/" + name); }
  std::string Read(const std::string& name) const {
    std::ifstream in(Work(name));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  DeploymentSite site;
};

// The site's served folder over HTTPS with a certificate made for the test and signed by
// itself, which wget refuses unless told to ignore certificates.
class HttpsServer {
 public:
  explicit HttpsServer(const DeploymentSite& site) {
    std::string at = site.Path("tls");
    std::filesystem::create_directories(at);
    std::string script =
        "import functools, http.server, ssl, sys\n"
        "handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
        "server = http.server.HTTPServer(('127.0.0.1', 0), handler)\n"
        "context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)\n"
        "context.load_cert_chain(sys.argv[2] + '/cert.pem', sys.argv[2] + '/key.pem')\n"
        "server.socket = context.wrap_socket(server.socket, server_side=True)\n"
        "open(sys.argv[2] + '/port.tmp', 'w').write(str(server.server_address[1]))\n"
        "import os; os.rename(sys.argv[2] + '/port.tmp', sys.argv[2] + '/port')\n"
        "server.serve_forever()\n";
    std::ofstream(at + "/serve.py") << script;
    std::string command = "cd '" + at +
                          "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out "
                          "cert.pem -days 1 -subj /CN=127.0.0.1 >/dev/null 2>&1 && "
                          "{ python3 serve.py '" +
                          site.Path("served") + "' . >/dev/null 2>&1 & echo $! > pid; }";
    ready = std::system(command.c_str()) == 0;
    for (int i = 0; ready && i < 200 && !std::filesystem::exists(at + "/port"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::ifstream(at + "/pid") >> pid;
    std::ifstream(at + "/port") >> port;
  }
  ~HttpsServer() {
    if (pid > 0)
      kill(pid, SIGTERM);
  }
  bool Ready() const { return ready && port > 0; }
  std::string Url(const std::string& name) const {
    return "https://127.0.0.1:" + std::to_string(port) + "/" + name;
  }

 private:
  bool ready = false;
  pid_t pid = -1;
  int port = 0;
};
}  // namespace

TEST_F(EndToEnd, ARepairedVersionAndAChosenDatabaseTypeAreSavedAndShownAfterARestart) {
  std::string prepared = edited(dir.Read("Settings.json"), {{"\"Type\": 3", "\"Type\": 0"}});
  dir.Write("Settings.json", prepared);
  TmuxPane& pane = Open();
  pane.Keys({"Tab", "Tab", "Tab", "Tab"});
  retype(pane, "24");
  pane.Keys({"Tab"});
  EXPECT_TRUE(pane.WaitFor("Patch version    24.0.0.0")) << pane.Screen();
  pane.Keys({"Tab", "Tab", "Tab", "Tab", "Left"});
  EXPECT_TRUE(pane.WaitFor("Database type   <PostgreSQL>")) << pane.Screen();
  save(pane);
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
  EXPECT_EQ(dir.Read("Settings.json"),
            edited(prepared, {{"24.2.0.0", "24.0.0.0"}, {"\"Type\": 0", "\"Type\": 3"}}));
  TmuxPane& again = Open();
  EXPECT_TRUE(again.WaitFor("Patch version    24.0.0.0")) << again.Screen();
  EXPECT_TRUE(again.WaitFor("Database type   <PostgreSQL>")) << again.Screen();
  again.Keys({"Escape"});
  EXPECT_EQ(again.Status(), 0);
}

// Stored with an unknown web server type and a complex identifier of its own.
TEST_F(EndToEnd, SettingsFormsRefuseBadPortsAndStoreOnlyWhatWasApplied) {
  std::string prepared =
      edited(dir.Read("Settings.json"), {{"\"nginx\"", "\"other\""}, {"\"tRQV\"", "\"aBcD\""}});
  dir.Write("Settings.json", prepared);
  TmuxPane& pane = Open();
  for (const char* port : {"0", "70000"}) {
    applyWebServerPort(pane, port);
    EXPECT_TRUE(pane.WaitFor(PORT_INVALID)) << port << pane.Screen();
    EXPECT_NE(pane.Screen(true).find(RED + PORT_INVALID), std::string::npos) << port;
    pane.Keys({"Escape"});
    EXPECT_TRUE(gone(pane, WEB_SERVER_FORM));
  }
  save(pane);
  EXPECT_EQ(dir.Read("Settings.json"), prepared);
  applyWebServerPort(pane, "8081");
  EXPECT_TRUE(gone(pane, WEB_SERVER_FORM)) << pane.Screen();
  pane.Click(30, 9);
  EXPECT_TRUE(pane.WaitFor("┌Install settings")) << pane.Screen();
  retype(pane, "");
  pane.Keys({"Tab", "Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("the default is filled in.")) << pane.Screen();
  pane.Keys({"Enter"});
  EXPECT_TRUE(gone(pane, "┌Install settings")) << pane.Screen();
  save(pane);
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
  EXPECT_EQ(dir.Read("Settings.json"), edited(prepared, {{"8080", "8081"}, {"aBcD", "tRQV"}}));
  TmuxPane& again = Open();
  again.Click(30, 4);
  EXPECT_TRUE(again.WaitFor("Web server port        8081")) << again.Screen();
  again.Keys({"Escape", "Escape"});
  EXPECT_EQ(again.Status(), 0);
}

TEST_F(EndToEnd, TheDefaultMigrationPathIsRefusedAndNothingChanges) {
  std::string shipped = dir.Read("Settings.json");
  TmuxPane& pane = Open();
  pane.Click(2, 22);
  EXPECT_TRUE(pane.WaitFor(ADDITIONS_DELETE));
  pane.Keys({"Tab", "Tab", "Tab", "Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor(PATH_INVALID)) << pane.Screen();
  pane.Keys({"Escape"});
  EXPECT_TRUE(gone(pane, ADDITIONS_DELETE));
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
  EXPECT_EQ(dir.Read("Settings.json"), shipped);
}

TEST_F(SiteEndToEnd, DeleteFromAdditionsAsksFirstAndTwiceWithUnsavedChanges) {
  std::string saved = Read("Settings.json");
  TmuxPane& pane = Open(Work(""));
  pane.Click(2, 22);
  EXPECT_TRUE(pane.WaitFor(ADDITIONS_DELETE));
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("Delete the current installation?")) << pane.Screen();
  pane.Keys({"Enter"});  // NO has the focus
  EXPECT_TRUE(gone(pane, "Delete the current installation?"));
  pane.Keys({"Up", "Left"});  // another database type
  pane.Click(2, 22);
  EXPECT_TRUE(pane.WaitFor(ADDITIONS_DELETE));
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("Delete the current installation?"));
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("The settings have unsaved changes.")) << pane.Screen();
  pane.Keys({"Tab", "Enter"});
  EXPECT_EQ(pane.Status(std::chrono::seconds(30)), 0) << pane.Screen();
  EXPECT_NE(pane.Screen().find("Deletion finished."), std::string::npos) << pane.Screen();
  EXPECT_NE(site.Records().find("ws_delapp.sh [-p] [9090]"), std::string::npos);
  EXPECT_EQ(Read("Settings.json"), saved);
}

TEST_F(SiteEndToEnd, MigrateTakesAnOlderInstallationOverAndTheWindowComesBack) {
  site.Set("Install/Catalog", "oldcat");
  site.SetInteger("Install/Port", 7070);
  site.SetInteger("WebServer/Port", 8181);
  site.Set("WebServer/Path", site.Path("old") + "/");
  site.Set("Docker/Path", site.Path("old") + "/");
  site.WriteSettings("app/old.json");
  site.MakeControlDirectory(site.Path("old/web_8181/ctl"), 0, 0, 0);
  site.WriteScript(site.Path("old/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("old/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
  TmuxPane& pane = Open(Work(""));
  std::string before;
  for (bool deleteOld : {false, true}) {
    pane.Click(2, 22);
    EXPECT_TRUE(pane.WaitFor(ADDITIONS_DELETE));
    pane.Keys({"Tab", "Tab"});
    retype(pane, "old.json");
    pane.Keys({"Tab"});
    if (!deleteOld)
      pane.Keys({"Enter"});
    pane.Keys({"Tab", "Enter"});
    // The shell's screen comes back with the previous run's prompt on it first.
    EXPECT_TRUE(pane.WaitForScreen([&before](const std::string& screen) {
      return screen != before && endsWith(screen, PROMPT);
    })) << pane.Screen();
    before = pane.Screen();
    std::string output = before.substr(before.rfind("Migration old.json"));
    EXPECT_NE(output.find("Taking over the database connection"), std::string::npos) << output;
    EXPECT_EQ(output.find("Removing the web server") != std::string::npos, deleteOld) << output;
    EXPECT_EQ(site.Records().find("ws_delapp.sh [-p] [7070]") != std::string::npos, deleteOld);
    pane.Keys({"Enter Enter"});  // two Enters in one write, as a double press sends them
    EXPECT_TRUE(pane.WaitFor("Catalogue        oldcat")) << pane.Screen();
    EXPECT_TRUE(pane.WaitFor("Application port     7070")) << pane.Screen();
    // Once Tab has moved the focus, a second Enter let through would have been read too.
    pane.Keys({"Tab"});
    EXPECT_TRUE(pane.WaitForScreen(
        [&](const std::string&) { return pane.Screen(true).find(FOCUSED) != std::string::npos; }));
    EXPECT_NE(pane.Screen().find(DOCKER_TICKED), std::string::npos) << pane.Screen();
    EXPECT_NE(Read("Settings.json").find("\"Catalog\": \"oldcat\""), std::string::npos);
  }
  EXPECT_NE(site.Records().find("vaq-web/uninstall.sh [-p] [8181]"), std::string::npos);
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
}

TEST_F(SiteEndToEnd, DeployOverHttpsWithASelfSignedCertificateNeedsTheIgnoreChoice) {
  HttpsServer https(site);
  ASSERT_TRUE(https.Ready());
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch 24.2.0.7\n");
  site.Set("Docker/Url", https.Url(DeploymentSite::RUNTIME_ARCHIVE));
  site.Set("WebServer/Url", https.Url(DeploymentSite::WEB_SERVER_ARCHIVE));
  site.Set("Patch/Url", https.Url(DeploymentSite::PATCH_FOLDER));
  site.WriteSettings("app/Settings.json");
  for (bool ignore : {true, false}) {
    TmuxPane& pane = Open(Work(""));
    if (ignore) {
      pane.Click(2, 22);
      EXPECT_TRUE(pane.WaitFor(ADDITIONS_DELETE));
      pane.Keys({"Enter", "Escape"});
      EXPECT_TRUE(gone(pane, ADDITIONS_DELETE));
    }
    pane.Click(86, 28);
    EXPECT_EQ(pane.Status(std::chrono::seconds(30)), ignore ? 0 : 1) << pane.Screen();
    EXPECT_EQ(pane.Screen().find("The application has been deployed.") != std::string::npos, ignore)
        << pane.Screen();
  }
}
