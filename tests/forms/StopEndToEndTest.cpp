// The program stopped by signals and by keys that used to end or freeze it, in a real terminal.
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "forms/EndToEnd.h"
#include "support/DeploymentSite.h"
#include "support/TempDir.h"

namespace {

auto* const readFile = &TempDir::ReadFile;

// Polls until the file holds text, at most limit.
bool waitForText(const std::string& path, const std::string& text,
                 std::chrono::seconds limit = std::chrono::seconds(20)) {
  auto end = std::chrono::steady_clock::now() + TmuxPane::Scaled(limit);
  while (readFile(path).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// The program started by the pane's shell, found among the shell's children; 0 when none is.
pid_t programIn(TmuxPane& pane) {
  std::string shell = std::to_string(pane.ShellPid());
  auto end = std::chrono::steady_clock::now() + TmuxPane::Scaled(std::chrono::seconds(10));
  while (std::chrono::steady_clock::now() < end) {
    std::ifstream children("/proc/" + shell + "/task/" + shell + "/children");
    for (pid_t pid; children >> pid;)
      if (readFile("/proc/" + std::to_string(pid) + "/comm") == "deployer\n")
        return pid;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

// Sends the signal to the pane's program only (never to a group: a pid of 0 would be this one).
void signalProgram(TmuxPane& pane, int sig) {
  if (pid_t pid = programIn(pane); pid > 0)
    kill(pid, sig);
}

// A deploy whose runtime installer takes a few seconds, recording its start and its end.
class StopDuringDeploy : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    if (IsSkipped())
      return;
    site.ServeEverything();
    std::string records = "'" + site.Path("records.txt") + "'";
    site.ServeRuntime(
        "read -ra fields < /proc/$$/stat  # its group, the terminal's foreground group\n"
        "[ ${fields[4]} = ${fields[7]} ] && echo 'in the foreground' >> " +
        records + "\n" + "echo 'install start' >> " + records +
        "\nsleep 3\necho 'install end' >> " + records + "\n");
    site.WriteSettings("app/Settings.json");
    std::filesystem::copy_file(SHARE + "Resources.res", site.Path("app/Resources.res"));
  }
  // Starts the deploy from the window and waits until the runtime installer runs.
  TmuxPane& Deploying() {
    TmuxPane& pane = Open(site.Path("app"));
    pane.Keys({"Up", "Up", "Up", "Enter"});  // Deploy
    EXPECT_TRUE(waitForText(site.Path("records.txt"), "install start"));
    return pane;
  }

  DeploymentSite site;
};

}  // namespace

TEST_F(EndToEnd, StopSignalsOnTheMainWindowEndCleanlyWithTheirStatus) {
  for (int sig : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
    TmuxPane& pane = Open();
    signalProgram(pane, sig);
    EXPECT_EQ(pane.Status(), 128 + sig) << sig;
    EXPECT_NE(dir.Read("log.txt").find("> Stopped by signal " + std::to_string(sig) + ".\n"),
              std::string::npos);
    pane.Keys({"'stty -a'", "Enter"});
    EXPECT_TRUE(pane.WaitFor(" icanon")) << pane.Screen();
    std::string modes = pane.Screen();
    for (const char* mode : {" echo ", " ixon", " icanon"})
      EXPECT_NE(modes.find(mode), std::string::npos) << sig << mode << modes;
  }
}

TEST_F(EndToEnd, AltKeysUnknownSequencesAndFlowControlKeysLeaveTheWindowRunning) {
  TmuxPane& pane = Open();
  pane.Keys({"M-x", "M-Enter"});
  pane.Keys({"-H 1b 5b 39 39 7e"});  // a sequence no terminal description names
  pane.Keys({"C-s", "Tab"});
  EXPECT_TRUE(pane.WaitForScreen([&pane](const std::string&) {
    return pane.Screen(true).find(FOCUSED) != std::string::npos;
  })) << pane.Screen();
  pane.Keys({"C-q", "Escape"});
  EXPECT_EQ(pane.Status(), 0);
  EXPECT_NE(dir.Read("log.txt").find("Window::processing dropped an unknown key sequence."),
            std::string::npos);
}

TEST_F(StopDuringDeploy, AHangUpLetsTheActionFinishWithEveryStepLogged) {
  Deploying().HangUp();  // the terminal goes away
  EXPECT_TRUE(waitForText(site.Path("records.txt"), "ws_addapp.sh"))
      << readFile(site.Path("records.txt"));
  EXPECT_TRUE(waitForText(site.Path("app/log.txt"), "\nDuration: "));
  std::string log = readFile(site.Path("app/log.txt"));
  for (const char* line : {"the terminal was lost; the action goes on.",
                           "Controller[Deploy]::printThe application has been deployed."})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  EXPECT_NE(
      readFile(site.Path("records.txt")).find("in the foreground\ninstall start\ninstall end"),
      std::string::npos);
}

// Sent to the program it is passed on; typed, it reaches the command in the foreground alone.
TEST_F(StopDuringDeploy, AnInterruptSentOrTypedStopsTheCommandAndRunsNoFurtherStep) {
  for (bool typed : {false, true}) {
    TmuxPane& pane = Deploying();
    if (typed)
      pane.Keys({"C-c"});
    else
      signalProgram(pane, SIGINT);
    EXPECT_EQ(pane.Status(), 128 + SIGINT) << pane.Screen();
    EXPECT_NE(pane.Screen().find("installation failed, code 2"), std::string::npos)
        << pane.Screen();
    EXPECT_EQ(readFile(site.Path("records.txt")), "in the foreground\ninstall start\n");
    EXPECT_NE(readFile(site.Path("app/log.txt")).find("Stopped by signal 2."), std::string::npos);
    std::filesystem::remove(site.Path("records.txt"));
  }
}
