#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/WorkingLock.h"
#include "forms/EndToEnd.h"
#include "support/DeploymentSite.h"
#include "support/ProgramSite.h"
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
  other.Keys({"Up", "Up", "Up", "Up", "Enter"});
  EXPECT_TRUE(other.WaitFor("The settings could not be saved.")) << other.Screen();
  other.Keys({"Enter"});
  EXPECT_TRUE(other.WaitForScreen(
      [](const std::string& s) { return s.find("could not") == std::string::npos; }));
  other.Keys({"Escape"});
  EXPECT_EQ(other.Status(), 0);
  chmod(locked.Path().c_str(), 0755);
}

TEST_F(EndToEnd, ResizeToEightyByTwentyFourAndBackRedrawsTheSameScreen) {
  TmuxPane& pane = Open();
  pane.Keys({"Tab"});
  EXPECT_TRUE(pane.WaitForScreen(
      [&](const std::string&) { return pane.Screen(true).find(FOCUSED) != std::string::npos; }));
  std::string full = pane.Screen();
  pane.Resize(80, 24);
  EXPECT_TRUE(pane.WaitFor(std::string(27, ' ') + TITLE)) << pane.Screen();
  pane.Resize(100, 30);
  EXPECT_TRUE(pane.WaitForScreen([&full](const std::string& s) { return s == full; }))
      << pane.Screen();
  pane.Keys({"Escape"});
  EXPECT_EQ(pane.Status(), 0);
}

// At 80 x 24 the keyboard alone reaches the forms; the hints follow the focus.
TEST_F(EndToEnd, AtEightyByTwentyFourTheKeyboardReachesTheFormsAndSaves) {
  std::string expected = dir.Read("Settings.json");
  for (auto [from, to] : {std::pair{"tar.gz\"", "tar.gzx\""}, {"\"nginx\"", "\"apache2\""}})
    expected.replace(expected.find(from), std::string(from).size(), to);
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
  pane.Keys({"Tab", "Enter"});
  form("Container runtime settings", {"End", "x", "BTab", "BTab", "Enter"});
  pane.Keys({"Tab", "Tab", "Enter", "Tab", "Tab", "Tab"});
  EXPECT_TRUE(hint("Escape: close  Left, Right: choose")) << pane.Screen();
  form("Web server settings", {"Left", "Tab", "Tab", "Tab", "Tab", "Enter"});
  pane.Keys(std::vector<std::string>(7, "Up"));  // to Save
  pane.Keys({"Enter"});
  EXPECT_TRUE(pane.WaitFor("The settings have been saved.")) << pane.Screen();
  EXPECT_EQ(dir.Read("Settings.json"), expected);
  pane.Keys({"Enter", "Escape"});
  EXPECT_EQ(pane.Status(), 0);
}

TEST_F(EndToEnd, RussianTextsShowInTheWindowTheFormsAndTheProgressLines) {
  DeploymentSite site;
  site.ServeEverything();
  site.WriteSettings("app/Settings.json");
  std::filesystem::copy_file(SHARE + "Resources.ru.res", site.Path("app/Resources.res"));
  TmuxPane& pane = Open(site.Path("app"), 100, 30, "", "Развертывание веб-приложения");
  pane.Keys({"Tab", "Enter"});
  EXPECT_TRUE(pane.WaitFor("Настройки среды контейнеров─")) << pane.Screen();
  pane.Keys({"Escape"});
  EXPECT_TRUE(pane.WaitForScreen([](const std::string& s) {
    return s.find("Настройки среды контейнеров─") == std::string::npos;
  }));
  pane.Keys({"Up", "Up", "Up", "Up", "Enter"});  // Deploy
  EXPECT_EQ(pane.Status(std::chrono::seconds(30)), 0) << pane.Screen();
  EXPECT_NE(pane.Screen().find("Приложение развернуто."), std::string::npos) << pane.Screen();
}

// While another run holds the working folder, Save and Deploy say who holds it and change
// nothing. A set made while the interface is open is overwritten only after Yes; No keeps it.
TEST_F(EndToEnd, SaveAsksBeforeOverwritingAChangeFromOutsideAndWaitsForNoOtherRun) {
  TmuxPane& pane = Open();
  std::string set = "'" + PROGRAM + "' -C '" + dir.Path() + "' set Install/Catalog outside";
  ASSERT_EQ(std::system((set + " >/dev/null").c_str()), 0);
  std::string outside = dir.Read("Settings.json");
  auto answer = [&pane](const std::string& text, const std::vector<std::string>& keys) {
    EXPECT_TRUE(pane.WaitFor(text)) << pane.Screen();
    pane.Keys(keys);
    EXPECT_TRUE(pane.WaitForScreen(
        [&text](const std::string& s) { return s.find(text) == std::string::npos; }));
  };
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t holder = fork();  // another run, holding the lock until it is killed
  if (holder == 0) {
    WorkingLock lock(dir.File(WorkingLock::FILE_NAME));
    (void)!write(ready[1], lock.Take("deploy") == WorkingLock::Result::Taken ? "1" : "0", 1);
    for (;;)
      pause();
  }
  char taken = '0';
  EXPECT_TRUE(read(ready[0], &taken, 1) == 1 && taken == '1');
  pane.Keys({"Up", "Up", "Up", "Up"});  // to Save
  for (const std::vector<std::string>& keys :
       {std::vector<std::string>{"Enter"}, {"Down", "Enter"}}) {
    pane.Keys(keys);  // Save, then Deploy
    EXPECT_TRUE(pane.WaitFor("Another run of the program is changing the working"))
        << pane.Screen();
    EXPECT_NE(pane.Screen().find(std::to_string(holder)), std::string::npos) << pane.Screen();
    answer("Another run of the program", {"Enter"});
  }
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ(dir.Read("Settings.json"), outside);

  const std::string question = "Settings.json was changed by another program";
  pane.Keys({"Up", "Enter"});   // Save
  answer(question, {"Enter"});  // No
  EXPECT_EQ(dir.Read("Settings.json"), outside);
  pane.Keys({"Enter"});
  answer(question, {"Up", "Enter"});  // Yes
  answer("The settings have been saved.", {"Enter", "Escape"});
  EXPECT_EQ(dir.Read("Settings.json").find("outside"), std::string::npos);
  EXPECT_EQ(pane.Status(), 0);
}

TEST_F(EndToEnd, UpdateThatFailsItsHealthCheckIsRolledBackFromTheInterfaceToo) {
  ProgramSite program;
  program.site.Set("Install/HealthUrl", program.site.HealthUrl());
  program.site.SetInteger("Install/HealthTimeout", 1);
  program.site.MarkBad("app-24.2.0.8.sh");
  program.WriteSettings();
  ASSERT_EQ(program.Run({"deploy", "--no-runtime", "--no-web-server"}).status, 0);
  program.Run({"set", "Patch/Version", "24.2.0.8"});
  TmuxPane& pane = Open(program.site.Path("app"));
  pane.Keys({"Up", "Up", "Enter"});  // Update
  EXPECT_EQ(pane.Status(std::chrono::seconds(30)), 1) << pane.Screen();
  EXPECT_NE(pane.Screen().find("rolled back to the release 24.2.0.7"), std::string::npos)
      << pane.Screen();
  EXPECT_EQ(program.site.Deployed(), "app-24.2.0.7.sh");
  std::string last = program.Run({"history", "-n", "1"}).out;
  EXPECT_NE(last.find("update  rolled_back"), std::string::npos) << last;
}
