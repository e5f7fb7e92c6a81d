// Migration from the additions form in a terminal: the window comes back over the shell's screen.
#include <fstream>

#include "forms/EndToEnd.h"
#include "support/DeploymentSite.h"

namespace {
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

  DeploymentSite site;
};
}  // namespace

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
  TmuxPane& pane = Open(site.Path("app"));
  pane.Click(2, 22);
  EXPECT_TRUE(pane.WaitFor("Delete the current installation >Delete")) << pane.Screen();
  pane.Keys({"Tab", "Tab", "End"});
  pane.Keys(std::vector<std::string>(20, "BSpace"));
  pane.Keys({"old.json", "Tab", "Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("Press Enter to continue.")) << pane.Screen();
  for (const char* line : {"Taking over the database connection", "Removing the web server"})
    EXPECT_NE(pane.Screen().find(line), std::string::npos) << pane.Screen();
  EXPECT_NE(site.Records().find("ws_delapp.sh [-p] [7070]"), std::string::npos);
  EXPECT_NE(site.Records().find("vaq-web/uninstall.sh [-p] [8181]"), std::string::npos);
  pane.Keys({"Enter Enter"});  // two Enters in one write, as a double press sends them
  EXPECT_TRUE(pane.WaitFor("Catalogue        oldcat")) << pane.Screen();
  // Once Tab has moved the focus, a second Enter let through would have been read too.
  pane.Keys({"Tab"});
  EXPECT_TRUE(pane.WaitForScreen(
      [&](const std::string&) { return pane.Screen(true).find(FOCUSED) != std::string::npos; }));
  EXPECT_NE(pane.Screen().find(DOCKER_TICKED), std::string::npos) << pane.Screen();
  std::ifstream saved(site.Path("app/Settings.json"));
  std::string text(std::istreambuf_iterator<char>(saved), {});
  EXPECT_NE(text.find("\"Catalog\": \"oldcat\""), std::string::npos);
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
}
