// The built program driven as a script drives it: standard input from /dev/null (or a pseudo-
// terminal made by script(1) where a question is asked), standard output and error into files,
// against the loopback site with real wget, tar and bash.
#include "cli/Program.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "app/ResourceKeys.h"
#include "controllers/Shell.h"
#include "support/ProgramSite.h"
#include "support/TempDir.h"
#include "util/Sha256.h"

namespace {

using Call = ProgramSite::Call;
auto* const readFile = &TempDir::ReadFile;

// The site's work folder, ready for a deployment, with the shipped texts.
class ProgramCommands : public testing::Test, public ProgramSite {
 protected:
  using ProgramSite::Run;  // not the test's own
  void SetUp() override {
    if (!ProgramSite::Built())
      GTEST_SKIP() << "the program is not built";
    site.ServeEverything();
    site.RecordDownloads();
  }

  // Runs the program at a pseudo-terminal that receives answer as typed input.
  Call RunAtTerminal(const std::vector<std::string>& arguments, const std::string& answer) {
    return Shell("printf '" + answer + "\\n' | script -qec " + Shell::Word(Command(arguments)) +
                 " /dev/null");
  }
};

}  // namespace

TEST_F(ProgramCommands, AnswersHelpUsageErrorsAndFailuresWithTheirStatuses) {
  site.ServeFile(DeploymentSite::RUNTIME_ARCHIVE, "not an archive");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* err;
  } cases[] = {
      {{"deploy", "--help"}, 0, ""},
      {{"--version"}, 0, ""},
      {{"undeploy"}, 2, "deployer: unknown command 'undeploy'\nusage: deployer"},
      {{"delete"}, 2, "add --yes to confirm"},
      {{"deploy", "--no-web-server"}, 1, ""},
      {{"set", "Install/Port", "9191", "WebServer/Port", "70000"},
       2,
       "deployer: Refused WebServer/Port"},
      {{"update"}, 0, ""},
      {{"migrate", site.WriteSettings("source.json")}, 0, ""},
  };
  for (const Case& c : cases) {
    Call call = Run(c.arguments);
    EXPECT_EQ(call.status, c.status) << c.arguments[0] << call.out;
    EXPECT_NE(call.err.find(c.err), std::string::npos) << call.err;
  }
  EXPECT_NE(site.Records().find("ws_updapp.sh"), std::string::npos);
  EXPECT_EQ(readFile(site.Path("app/Settings.json")).find("9191"), std::string::npos);  // refused
  Call missing = Run({"show"}, site.Path("nowhere"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot work in '"), std::string::npos) << missing.err;
}

TEST_F(ProgramCommands, EveryCommandInAFolderWithoutItsFilesSaysHowToMakeThem) {
  std::string empty = site.Path("empty");
  std::filesystem::create_directories(empty);
  const std::vector<std::vector<std::string>> commands = {
      {"show"}, {"get", "Install/Port"}, {"set", "Install/Port", "1"}, {"check"}, {"status"}};
  for (const std::vector<std::string>& command : commands) {
    Call call = Run(command, empty);
    EXPECT_NE(call.status, 0) << command[0];
    EXPECT_NE((call.out + call.err).find("Run `deployer init` to create it."), std::string::npos)
        << command[0] << call.out << call.err;
  }
  std::filesystem::remove(site.Path("app/Resources.res"));  // the settings alone fail the check
  Call check = Run({"check"});
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.out.rfind("resources: Resources.res: ", 0), 0u) << check.out;
}

TEST_F(ProgramCommands, WithoutACommandOrATerminalSaysSoInOneLine) {
  Call call = Shell(Shell::Word(ProgramSite::PROGRAM) + " </dev/null");
  EXPECT_EQ(call.status, 2);
  EXPECT_EQ(call.out, "");
  EXPECT_EQ(call.err, "deployer: no terminal; give a command (see --help)\n");
}

TEST_F(ProgramCommands, DeleteGoesAheadOnlyWithYesOrAnAnswerOfYes) {
  const struct {
    std::vector<std::string> arguments;
    const char* answer;
    int status;
  } cases[] = {{{"delete"}, "n", 2}, {{"delete"}, "y", 0}, {{"delete", "--yes"}, nullptr, 0}};
  for (const auto& c : cases) {
    site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
    site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
    site.MakeControlDirectory(site.Path("web/web_8080/ctl"), 0, 0, 0);
    site.ClearRecords();
    Call call = c.answer ? RunAtTerminal(c.arguments, c.answer) : Run(c.arguments);
    EXPECT_EQ(call.status, c.status) << c.arguments.size() << call.out << call.err;
    EXPECT_EQ(site.Records(), c.status ? ""
                                       : "ws_delapp.sh [-p] [9090]\nvaq-web/uninstall.sh [-p] "
                                         "[8080]\nruntime-1.0/uninstall.sh\n");
  }
}

TEST_F(ProgramCommands, InitMakesAWorkingFolderOnceAndADryRunWorksThere) {
  std::string folder = site.Path("fresh/app");
  Call made = Run({"init", "--lang", "ru"}, folder);
  EXPECT_EQ(made.status, 0) << made.err;
  Call plan = Run({"deploy", "--dry-run"}, folder);
  EXPECT_EQ(plan.status, 0) << plan.err;
  EXPECT_EQ(plan.out.find("# check settings Settings.json\n"), 0u) << plan.out;
  EXPECT_NE(plan.out.find("\nmkdir temp\nwget "), std::string::npos) << plan.out;
  EXPECT_FALSE(std::filesystem::exists(folder + "/temp"));
}

TEST_F(ProgramCommands, DryRunPrintsExactlyTheCommandsThatTheRealRunLogs) {
  site.Set("Install/Catalog", "it's $(touch pwned) `x` ; & ~home");
  site.WriteSettings("app/Settings.json");
  std::string settings = readFile(site.Path("app/Settings.json"));
  Call plan = Run({"deploy", "--dry-run"});
  EXPECT_EQ(plan.status, 0) << plan.err;
  EXPECT_EQ(site.Records(), "");
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/temp")));
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/log.txt")));
  EXPECT_EQ(readFile(site.Path("app/Settings.json")), settings);

  EXPECT_EQ(Run({"deploy"}).status, 0);
  std::string ran;
  std::istringstream log(readFile(site.Path("app/log.txt")));
  const std::string run = "> Controller[Deploy]::run ";
  for (std::string line; std::getline(log, line);) {
    if (line.size() <= 9 + run.size() || line.compare(9, run.size(), run) != 0 ||
        line.compare(9 + run.size(), 7, "result ") == 0)
      continue;
    ran += line.substr(9 + run.size(), line.size() - 10 - run.size()) + "\n";
  }
  std::string commands;  // the checks are comment lines before them
  std::istringstream planned(plan.out);
  for (std::string line; std::getline(planned, line);)
    if (line.compare(0, 8, "# check ") != 0)
      commands += line + "\n";
  EXPECT_EQ(commands, ran);
  EXPECT_NE(site.Records().find(" [-vc] [it's $(touch pwned) `x` ; & ~home] "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/pwned")));
}

TEST_F(ProgramCommands, ColoursOnlyWhenForcedOutsideATerminalAndNeverAgainstNoColor) {
  EXPECT_EQ(Run({"update"}).out.find('\x1b'), std::string::npos);
  Call forced = Shell("CLICOLOR_FORCE=1 " + Command({"update"}, site.Path("app")) + " </dev/null");
  EXPECT_NE(forced.out.find("\x1b[0;32m"), std::string::npos) << forced.out;
  Call both =
      Shell("NO_COLOR=1 CLICOLOR_FORCE=1 " + Command({"update"}, site.Path("app")) + " </dev/null");
  EXPECT_EQ(both.out.find('\x1b'), std::string::npos) << both.out;
}

// A settings file edited by hand is checked before anything runs: show, the actions and the
// interface refuse it with one line, fetch nothing and write nothing.
TEST_F(ProgramCommands, RefusesSettingsOutsideTheirRulesBeforeAnythingRuns) {
  const char* const cases[][3] = {{"Connection/Type", "\"3\"", "1"},
                                  {"WebServer/Port", "70000", "8080"},
                                  {"Install/Port", "80.5", "9090"},
                                  {"Patch/Template", "\"../../../tmp/victim-*\"", "\"app-*.sh\""}};
  for (const auto& [path, refused, usual] : cases) {
    site.SetLiteral(path, refused);
    std::string text = readFile(site.WriteSettings("app/Settings.json"));
    site.SetLiteral(path, usual);
    Call shown = Run({"show"}), deployed = Run({"deploy"});
    EXPECT_EQ(shown.status + deployed.status, 2);
    EXPECT_EQ(shown.err.find("deployer: cannot show the settings of Settings.json (Invalid "
                             "settings: " +
                             std::string(path) + " is "),
              0u)
        << shown.err;
    EXPECT_EQ(deployed.out + deployed.err,
              "Cannot load Settings.json (Invalid settings); see log.txt for details.\n");
    EXPECT_NE(readFile(site.Path("app/log.txt"))
                  .find("SettingsCheck Settings.json: " + std::string(path)),
              std::string::npos);
    EXPECT_EQ(site.Records() + readFile(site.Path("app/Settings.json")), text);
    EXPECT_FALSE(std::filesystem::exists(site.Path("app/temp")));
  }
  Call interface = RunAtTerminal({}, "");
  EXPECT_EQ(interface.status, 1);
  EXPECT_NE(interface.out.find("Cannot load Settings.json (Invalid settings); see log.txt for "
                               "details.\r\n"),
            std::string::npos)
      << interface.out;
}

// A folder still there after its removal fails the delete, and so a migration that deletes the
// other installation (an immutable file keeps the folder, even for root).
TEST_F(ProgramCommands, AFolderLeftBehindFailsTheDeleteAndTheMigration) {
  site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
  std::string stuck = site.Path("docker/runtime-1.0/stuck");
  site.ServeFile("../docker/runtime-1.0/stuck", "");
  if (std::system(("chattr +i " + Shell::Word(stuck) + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "chattr +i is not available here";
  Call deleted = Run({"delete", "--yes"});
  Call migrated = Run({"migrate", site.WriteSettings("source.json"), "--delete-source", "--yes"});
  std::system(("chattr -i " + Shell::Word(stuck)).c_str());
  EXPECT_EQ(deleted.status, 1);
  EXPECT_NE(deleted.out.find("A folder could not be removed: "), std::string::npos) << deleted.out;
  EXPECT_EQ(migrated.status, 1);
}

// bash ignores SIGQUIT, so the runtime's installer outlives it (only its sleep is killed): the
// step counts as stopped all the same, and the steps after it neither run nor show as failed.
TEST_F(ProgramCommands, AQuitDuringAnInstallerEndsTheActionWithNoFurtherStep) {
  site.ServeRuntime("kill -QUIT $PPID\nsleep 1\necho 'install end' >> " +
                    Shell::Word(site.Path("records.txt")) + "\n");
  Call call = Run({"deploy"});
  EXPECT_EQ(call.status, 128 + SIGQUIT) << call.out << call.err;
  EXPECT_NE(call.out.find("Container runtime installation failed, code 3\n"), std::string::npos)
      << call.out;
  EXPECT_EQ(call.out.find("Web server"), std::string::npos) << call.out;
  // The web server's download, started ahead during the install, is stopped: no partial file.
  std::string archive = site.Path("app/temp/") + DeploymentSite::WEB_SERVER_ARCHIVE;
  if (std::filesystem::exists(archive)) {
    EXPECT_EQ(readFile(archive),
              readFile(site.Path("served/") + DeploymentSite::WEB_SERVER_ARCHIVE));
  }
  EXPECT_FALSE(std::filesystem::exists(archive + ".output"));
}

// An empty resource file loads (every text empty), and the start says so once.
TEST_F(ProgramCommands, AResourceFileLackingTextsIsWarnedAboutOnce) {
  std::ofstream(site.Path("app/Resources.res"), std::ios::trunc) << "comments only\n";
  Call call = Run({"update"});
  EXPECT_EQ(call.status, 0) << call.err;
  const std::string warning = "deployer: Resources.res lacks " +
                              std::to_string(ResourceKeys::All().size()) +
                              " texts; `deployer init --update-texts` adds them\n";
  EXPECT_EQ(call.err.find(warning), 0u) << call.err;
  EXPECT_EQ(call.err.find(warning, 1), std::string::npos) << call.err;
  EXPECT_NE(readFile(site.Path("app/log.txt")).find(" lacks ADDITIONS APPLY "), std::string::npos);
}

// Every pair of sets runs at the same time; --wait lets the second wait for the first instead of
// being refused, so both changes stay.
TEST_F(ProgramCommands, ConcurrentSetsWithWaitKeepEveryChange) {
  std::string set = Command({"--wait", "10", "set"}, site.Path("app"));
  std::string show = Command({"show"}, site.Path("app"));
  Call call = Shell(
      "for i in $(seq 1 50); do a=$((1000 + i)) b=$((3000 + i));"
      " (" +
      set +
      " Install/Port $a >/dev/null || echo failed $i) &"
      " (" +
      set +
      " WebServer/Port $b >/dev/null || echo failed $i) & wait;"
      " [ $(" +
      show +
      " | grep -cx -e Install/Port=$a -e WebServer/Port=$b) = 2 ]"
      " || echo lost $i; done");
  EXPECT_EQ(call.out, "");
  EXPECT_EQ(call.err, "");
}

// A link planted at the lock's name would let every writer in: they refuse to start instead, and
// the link's target stays as it was.
TEST_F(ProgramCommands, ALinkAtTheLocksNameStopsEveryWriter) {
  std::ofstream(site.Path("target")) << "kept";
  std::filesystem::create_symlink(site.Path("target"), site.Path("app/.deployer.lock"));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"set", "Install/Port", "9191"}, {"deploy"}}) {
    Call refused = Run(arguments);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "deployer: cannot lock the working folder: .deployer.lock is a symbolic link or not "
              "a regular file; remove it\n");
  }
  EXPECT_EQ(readFile(site.Path("target")), "kept");
  EXPECT_EQ(site.Records(), "");
}

// While one deploy runs, every other writer, the interface too, is refused at once with 75 and
// names the holder; the first's log stays as it is. A holder killed with -9 leaves no lock.
TEST_F(ProgramCommands, WritersAreRefusedWhileADeployRunsAndNotAfterItIsKilled) {
  std::string ctl = site.Path("web/web_8080/ctl/ws_addapp.sh");
  std::ofstream(ctl) << "#!/bin/bash\necho adding >> " << Shell::Word(site.Path("started"))
                     << "\nsleep 5\n";
  Call first = Shell(Command({"deploy"}, site.Path("app")) +
                     " </dev/null >/dev/null 2>&1 &"
                     " echo $!");
  pid_t pid = std::stoi(first.out);
  for (int i = 0; i < 200 && !std::filesystem::exists(site.Path("started")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::string log = readFile(site.Path("app/log.txt"));
  const std::vector<std::string> writers[] = {{"deploy"}, {"set", "Install/Port", "9191"}, {}};
  for (const auto& arguments : writers) {
    auto start = std::chrono::steady_clock::now();
    Call refused = arguments.empty() ? RunAtTerminal(arguments, "") : Run(arguments);
    if (arguments.empty()) {  // the interface needs a terminal, where script adds its time
      size_t begin = refused.out.find("deployer:");
      refused.err = refused.out.substr(begin, refused.out.find('\r', begin) - begin) + "\n";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::seconds(arguments.empty() ? 4 : 1));
    EXPECT_EQ(refused.status, 75) << refused.err;
    EXPECT_EQ(refused.err, "deployer: the working folder is in use by pid " + std::to_string(pid) +
                               " (" + getpwuid(geteuid())->pw_name + ", deploy) since " +
                               refused.err.substr(refused.err.find(" since ") + 7));
    EXPECT_NE(refused.err.find("; try again later or use --wait SECONDS\n"), std::string::npos);
  }
  EXPECT_EQ(readFile(site.Path("app/log.txt")).substr(0, log.size()), log);
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/log.txt.1")));
  EXPECT_EQ(readFile(site.Path("app/Settings.json")).find("9191"), std::string::npos);
  EXPECT_EQ(Run({"deploy", "--dry-run"}).status, 0);
  kill(pid, SIGKILL);
  for (int i = 0; i < 100 && kill(pid, 0) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(Run({"set", "Install/Port", "9191"}).status, 0);
}

// The closing line names the failing step and comes after every progress line, even when both
// streams go to one file.
TEST_F(ProgramCommands, AFailedDeployEndsWithTheStepAndTheMeaningOfItsStatus) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"deploy", "--no-preflight"},
       "at the container runtime download: wget exit status 8, the server answered "
       "with an error"},
      {{"deploy", "--no-runtime", "--no-web-server", "--step-timeout", "1"},
       "at the application registration: bash ran longer than 1 seconds and was stopped"}};
  std::filesystem::remove(site.Path("served/") + DeploymentSite::RUNTIME_ARCHIVE);
  std::ofstream(site.Path("web/web_8080/ctl/ws_addapp.sh"), std::ios::trunc) << "sleep 30\n";
  for (const auto& [arguments, where] : cases) {
    Call call = Shell("(" + Command(arguments, site.Path("app")) + " </dev/null 2>&1)");
    EXPECT_EQ(call.status, 1);
    std::string closing = "Deploy failed " + where + "; see log.txt for details.\n";
    EXPECT_EQ(call.out.substr(call.out.size() - std::min(call.out.size(), closing.size())),
              closing);
  }
}

// A redeploy makes no mkdir error, fetches nothing when the checksums are set, and leaves in temp/
// only the archives it used, unless it keeps the downloads.
TEST_F(ProgramCommands, ARedeployUsesTheVerifiedCopiesAndTidiesTemp) {
  const std::pair<const char*, std::string> checksums[] = {
      {"Docker/Sha256", DeploymentSite::RUNTIME_ARCHIVE},
      {"WebServer/Sha256", DeploymentSite::WEB_SERVER_ARCHIVE},
      {"Patch/Sha256", "patches/app-24.2.0.7.sh"}};
  for (const auto& [path, served] : checksums) {
    std::string digest, reason;
    Sha256::OfFile(site.Path("served/" + served), &digest, &reason);
    site.Set(path, digest);
  }
  site.WriteSettings("app/Settings.json");
  const std::pair<std::vector<std::string>, std::set<std::string>> cases[] = {
      {{"deploy"}, {"runtime-1.0.tar.gz", "vaq-web_d2.tar.gz"}},
      {{"deploy", "--keep-downloads"}, {"old", "runtime-1.0.tar.gz", "vaq-web_d2.tar.gz"}},
      {{"deploy", "--no-runtime"}, {"vaq-web_d2.tar.gz"}}};
  for (const auto& [arguments, kept] : cases) {
    std::filesystem::create_directories(site.Path("app/temp/old"));
    size_t requested = site.Server().Requests().size();
    Call call = Run(arguments);
    EXPECT_EQ(call.status, 0) << call.err;
    EXPECT_EQ(call.err.find("mkdir"), std::string::npos) << call.err;
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(site.Path("app/temp")))
      left.insert(entry.path().filename());
    EXPECT_EQ(left, kept) << arguments.back();
    if (arguments.size() > 1) {  // after the first deploy
      EXPECT_EQ(site.Server().Requests().substr(requested), "");
    }
  }
}

// At a terminal wget runs in its foreground, writing to a terminal: it draws its progress bar and
// writes no wget-log.
TEST_F(ProgramCommands, ADeployAtATerminalShowsWgetsProgressAndLeavesNoWgetLog) {
  Call call = RunAtTerminal({"deploy"}, "");
  EXPECT_EQ(call.status, 0) << call.out;
  EXPECT_NE(call.out.find(" 100%[====="), std::string::npos) << call.out;  // its progress bar
  EXPECT_EQ(call.out.find("wget-log"), std::string::npos) << call.out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(site.Path("")))
    EXPECT_NE(entry.path().filename().string().rfind("wget-log", 0), 0u) << entry.path();
}

// The log holds the last lines that a failed command wrote, each cut as a value is: the server's
// answer to a download, an installer's error at the end of a long output.
TEST_F(ProgramCommands, TheLogHoldsTheLastLinesOfAFailedCommand) {
  site.ServeRuntime(
      "for i in $(seq 30); do printf '%0300d\\n' $i; done\n"
      "echo 'install.sh: the registry cannot be reached' >&2\nexit 3\n");
  const std::pair<std::string, std::string> cases[] = {
      {"true", "\n    install.sh: the registry cannot be reached\n"},
      {"rm " + Shell::Word(site.Path(std::string("served/") + DeploymentSite::RUNTIME_ARCHIVE)),
       "\n      HTTP/1.0 404 "}};
  for (const auto& [change, said] : cases) {
    std::system(change.c_str());
    EXPECT_EQ(Run({"deploy", "--no-preflight"}).status, 1);
    std::string log = readFile(site.Path("app/log.txt"));
    EXPECT_NE(log.find(said), std::string::npos) << log;
    size_t lines = 0;
    for (size_t at = 0; (at = log.find("\n    ", at + 1)) != std::string::npos;)
      ++lines;
    EXPECT_LE(lines, 20u) << log;
  }
  std::string cut = "\n    " + std::string(200, '0') + "... (300 bytes)\n";
  EXPECT_NE(readFile(site.Path("app/log.txt.1")).find(cut), std::string::npos);
}
