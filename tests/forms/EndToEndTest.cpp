#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "forms/EndToEnd.h"
#include "support/DeploymentSite.h"
#include "support/TempDir.h"

// Root's save would succeed anywhere: the unprivileged user runs a copy of the program, which it
// can reach wherever the checkout lies.
TEST_F(EndToEnd, AFailedSaveIsShownAndTheProgramRunsOn) {
  TempDir locked;
  for (const char* name : {"Settings.json", "Resources.res"})
    std::filesystem::copy_file(SHARE + name, locked.File(name));
  chmod(locked.Path().c_str(), 0555);
  TempDir reachable;
  program = reachable.File("deployer");
  std::filesystem::copy_file(PROGRAM, program);
  chmod(reachable.Path().c_str(), 0755);
  std::string prefix = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  TmuxPane& other = Open(locked.Path(), 100, 30, prefix);
  other.Click(1, 28);
  EXPECT_TRUE(other.WaitFor("The settings could not be saved.")) << other.Screen();
  other.Keys({"Enter"});
  EXPECT_TRUE(other.WaitForScreen(
      [](const std::string& s) { return s.find("could not") == std::string::npos; }));
  other.Keys({"Escape"});
  EXPECT_EQ(other.Status(), 0);
  chmod(locked.Path().c_str(), 0755);
}

TEST_F(EndToEnd, EndedInputAndInterruptLeaveTheTerminalUsable) {
  pane = std::make_unique<TmuxPane>(dir.Path());
  auto start = std::chrono::steady_clock::now();
  pane->Start("'" + PROGRAM + "' </dev/null");
  EXPECT_EQ(pane->Status(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  TmuxPane& other = Open();
  const std::string mouseFlags = "#{mouse_any_flag}#{mouse_standard_flag}#{mouse_button_flag}";
  EXPECT_NE(other.Format(mouseFlags).find('1'), std::string::npos);
  other.Keys({"C-c"});
  EXPECT_GT(other.Status(), 0);
  other.Keys({"'echo typed-back'", "Enter"});
  EXPECT_TRUE(other.WaitFor("typed-back\n")) << other.Screen();
  EXPECT_EQ(other.Format(mouseFlags), "000\n");
}

TEST_F(EndToEnd, ResizeRedrawsASmallTerminalShowsTheNoticeAndEscapeEndsWithStatusZero) {
  std::string shipped = dir.Read("Settings.json");
  TmuxPane& pane = Open();
  pane.Keys({"Tab"});
  EXPECT_TRUE(pane.WaitForScreen(
      [&](const std::string&) { return pane.Screen(true).find(FOCUSED) != std::string::npos; }));
  std::string full = pane.Screen();
  EXPECT_EQ(line(full, 28), ">Save" + std::string(80, ' ') + ">Deploy >Update");
  pane.Resize(80, 24);
  EXPECT_TRUE(pane.WaitFor(std::string(27, ' ') + TITLE)) << pane.Screen();
  pane.Resize(40, 12);
  EXPECT_TRUE(pane.WaitFor("Escape leaves the program.")) << pane.Screen();
  pane.Keys({"Space", "Enter"});  // not taken while only the notice shows
  pane.Resize(100, 30);
  EXPECT_TRUE(pane.WaitForScreen([&full](const std::string& s) { return s == full; }))
      << pane.Screen();
  pane.Keys({"Escape"});
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(pane.Status(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(dir.Read("Settings.json"), shipped);
  EXPECT_EQ(dir.Read("log.txt").rfind("Started at ", 0), 0u);
}

// At 80 x 24 the keyboard alone reaches every control and form; the hints follow the focus.
TEST_F(EndToEnd, AtEightyByTwentyFourTheKeyboardReachesEveryControlAndForm) {
  std::string expected = dir.Read("Settings.json");
  // Each text and what the run turns it into.
  const std::string changes[] = {"tar.gz\"",    "tar.gzx\"",    "\"nginx\"",   "\"apache2\"",
                                 "24.2.0.0",    "24.2.0.9",     "patches\"",   "patchesx\"",
                                 "8090",        "8091",         "core.dll\"",  "core.dllx\"",
                                 "catalog\"",   "catalogx\"",   "\"Type\": 3", "\"Type\": 2",
                                 "localhost\"", "localhostx\"", "vaq_app\"",   "vaq_appx\""};
  for (size_t i = 0; i < std::size(changes); i += 2)
    expected.replace(expected.find(changes[i]), changes[i].size(), changes[i + 1]);
  TmuxPane& pane = Open(dir.Path(), 80, 24);
  auto hint = [&pane](const std::string& own) {
    return pane.WaitFor("Tab, Shift-Tab, Up, Down: move  " + own);
  };
  auto form = [&pane](const std::string& title, const std::vector<std::string>& keys) {
    EXPECT_TRUE(pane.WaitFor("┌" + title)) << pane.Screen();
    pane.Keys(keys);
    EXPECT_TRUE(pane.WaitForScreen([&title](const std::string& s) {
      return s.find("┌" + title) == std::string::npos;
    })) << pane.Screen();
  };
  EXPECT_TRUE(hint("Escape: quit  Enter, Space: toggle")) << pane.Screen();
  pane.Keys({"Space"});
  EXPECT_TRUE(pane.WaitFor("    -Install the container runtime")) << pane.Screen();
  pane.Keys({"BTab"});
  EXPECT_TRUE(hint("Escape: quit  Enter: press")) << pane.Screen();
  pane.Keys({"Tab", "Tab", "Enter"});
  form("Container runtime settings", {"End", "x", "BTab", "BTab", "Enter"});
  pane.Keys({"Tab", "Tab", "Enter", "Tab", "Tab", "Tab"});
  EXPECT_TRUE(hint("Escape: close  Left, Right: choose")) << pane.Screen();
  form("Web server settings", {"Left", "Tab", "Tab", "Tab", "Tab", "Enter"});
  pane.Keys({"Tab"});
  EXPECT_TRUE(hint("Escape: quit  Insert: mode is insert")) << pane.Screen();
  pane.Keys({"IC"});
  EXPECT_TRUE(hint("Escape: quit  Insert: mode is overwrite")) << pane.Screen();
  pane.Keys({"End", "Left", "9", "IC", "Tab", "Enter"});
  form("Patch settings", {"End", "x", "Tab", "Tab", "Tab", "Enter"});
  pane.Keys({"Tab", "End", "BSpace", "1", "Tab", "Enter"});
  form("Install settings", {"Tab", "End", "x", "Tab", "Enter"});
  pane.Keys({"Tab", "End", "x", "Tab", "Left", "Tab", "End", "x", "Tab", "End", "x", "Tab"});
  pane.Keys({"Enter"});
  form("Additions", {"Space", "BTab", "Enter"});
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("The settings have been saved.")) << pane.Screen();
  EXPECT_EQ(dir.Read("Settings.json"), expected);
  pane.Keys({"Enter", "Escape"});
  EXPECT_EQ(pane.Status(), 0);
}

namespace {
// A site serving everything a deploy downloads, its web server script ending with scriptStatus,
// the program's folder app holding the shipped texts of the file.
void serve(DeploymentSite& site, const std::string& texts, int scriptStatus) {
  site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
  site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
  site.ServeFile("patches/app-24.2.0.7.sh", "echo patch 24.2.0.7\n");
  site.MakeControlDirectory(site.Path("web/web_8080/ctl"), 0, scriptStatus, 0);
  site.WriteSettings("app/Settings.json");
  std::filesystem::copy_file(SHARE + texts, site.Path("app/Resources.res"));
}
}  // namespace

TEST_F(EndToEnd, DeployAndUpdateRunAfterScreenMode) {
  struct Case {
    int x;
    int scriptStatus;
    const char* last;
    int status;
  } cases[] = {
      {86, 0, "The application has been deployed.", 0},
      {94, 0, "The application has been updated.", 0},
      {94, 3, "Update failed, code ", 1},
  };
  for (const Case& c : cases) {
    DeploymentSite site;
    serve(site, "Resources.res", c.scriptStatus);
    TmuxPane& pane = Open(site.Path("app"));
    pane.Click(c.x, 28);
    EXPECT_EQ(pane.Status(std::chrono::seconds(30)), c.status) << pane.Screen();
    EXPECT_NE(pane.Screen().find(c.last), std::string::npos) << pane.Screen();
  }
}

TEST_F(EndToEnd, RussianTextsShowInTheWindowTheFormsAndTheProgressLines) {
  DeploymentSite site;
  serve(site, "Resources.ru.res", 0);
  TmuxPane& pane = Open(site.Path("app"), 100, 30, "", "Развертывание веб-приложения");
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("Настройки среды контейнеров─")) << pane.Screen();
  EXPECT_NE(pane.Screen().find(">Применить >Отмена"), std::string::npos) << pane.Screen();
  pane.Keys({"Escape"});
  EXPECT_TRUE(pane.WaitForScreen(
      [](const std::string& s) { return s.find(">Применить") == std::string::npos; }));
  // The deploy button's column: the characters before it on the button row.
  std::string row = line(pane.Screen(), 28);
  std::string before = row.substr(0, row.find(">Развернуть"));
  int column = static_cast<int>(std::count_if(before.begin(), before.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
  pane.Click(column + 1, 28);
  EXPECT_EQ(pane.Status(std::chrono::seconds(30)), 0) << pane.Screen();
  EXPECT_NE(pane.Screen().find("Приложение развернуто."), std::string::npos) << pane.Screen();
}
