// The built program driven as a script drives it: standard input from /dev/null (or a pseudo-
// terminal made by script(1) where a question is asked), standard output and error into files,
// against the loopback site with real wget, tar and bash.
#include "cli/Program.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "controllers/Shell.h"
#include "support/DeploymentSite.h"

namespace {

const std::string PROGRAM = DEPLOYER_BINARY_DIR "/deployer";

struct Call {
  int status = -1;
  std::string out;
  std::string err;
};

// The site's work folder with its settings and a resource file whose texts are their own keys.
class ProgramCommands : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(PROGRAM))
      GTEST_SKIP() << "the program is not built";
    std::ifstream shipped(DEPLOYER_SOURCE_DIR "/share/Resources.res");
    std::ofstream keys(site.Path("app/Resources.res"));
    for (std::string line; std::getline(shipped, line);) {
      size_t end = line.find('=');
      if (line[0] == '#' && end != std::string::npos)
        keys << line.substr(0, end) << "=[" << line.substr(1, end - 1) << "]\n";
    }
  }

  void PrepareDeploy() {
    site.ServeArchive(DeploymentSite::RUNTIME_ARCHIVE, "runtime-1.0", 0, 0);
    site.ServeArchive(DeploymentSite::WEB_SERVER_ARCHIVE, "vaq-web", 0, 0);
    site.ServeFile("patches/app-24.2.0.7.sh", "echo patch\n");
    site.MakeControlDirectory(controlPath(), 0, 0, 0);
    site.RecordDownloads();
    site.WriteSettings("app/Settings.json");
  }

  // The program's command line on the work folder.
  std::string Command(const std::vector<std::string>& arguments) const {
    std::string line = Shell::Word(PROGRAM) + " -C " + Shell::Word(site.Path("app"));
    for (const std::string& argument : arguments)
      line += " " + Shell::Word(argument);
    return line;
  }

  // Runs the program with standard input from /dev/null; prefix goes before it (variables).
  Call Run(const std::vector<std::string>& arguments, const std::string& prefix = "") {
    return Shell(prefix + " " + Command(arguments) + " </dev/null");
  }

  // Runs the program at a pseudo-terminal that receives answer as typed input.
  Call RunAtTerminal(const std::vector<std::string>& arguments, const std::string& answer,
                     const std::string& prefix = "") {
    return Shell("printf '" + answer + "\\n' | " + prefix + " script -qec " +
                 Shell::Word(Command(arguments)) + " /dev/null");
  }

  Call Shell(const std::string& line) {
    std::string out = site.Path("out.txt"), err = site.Path("err.txt");
    int result = std::system((line + " >" + out + " 2>" + err).c_str());
    Call call;
    call.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    call.out = Normalised(read(out));
    call.err = read(err);
    return call;
  }

  std::string Normalised(std::string text) const {
    std::string root = site.Path("");
    root.pop_back();
    for (size_t at; (at = text.find(root)) != std::string::npos;)
      text.replace(at, root.size(), "{site}");
    return text;
  }

  std::string Records() const { return Normalised(site.Records()); }
  std::string controlPath() const { return site.Path("web/web_8080/ctl"); }

  static std::string read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  DeploymentSite site;
};

}  // namespace

TEST_F(ProgramCommands, AnswersHelpVersionAndUsageErrorsWithTheirStatuses) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {{"--version"}, 0, "deployer 1.24.2.1\n", ""},
      {{"-h"}, 0, "usage: deployer [-C DIR] [COMMAND [OPTIONS]]\n", ""},
      {{"deploy", "--help"}, 0, "Exit status: 0 success;", ""},
      {{"--frobnicate"}, 2, "", "deployer: unknown option '--frobnicate'\nusage: deployer"},
      {{"undeploy"}, 2, "", "deployer: unknown command 'undeploy'\nusage: deployer"},
      {{"delete"}, 2, "", "deployer: delete removes this server's installation; add --yes"},
  };
  for (const Case& c : cases) {
    Call call = Run(c.arguments);
    EXPECT_EQ(call.status, c.status) << c.arguments[0];
    EXPECT_NE(call.out.find(c.out), std::string::npos) << call.out;
    EXPECT_NE(call.err.find(c.err), std::string::npos) << call.err;
  }
  Call missing = Shell(Shell::Word(PROGRAM) + " -C " + Shell::Word(site.Path("nowhere")) + " show");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot work in '"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/log.txt")));
}

TEST_F(ProgramCommands, DeploysWithoutATerminalWithTheControllersLinesAndLog) {
  PrepareDeploy();
  Call call = Run({"deploy", "--no-runtime"});
  EXPECT_EQ(call.status, 0) << call.err;
  EXPECT_EQ(call.out.find("SAVE_CONFIG_SKIPPED\nDOWNLOAD_SERVER\n"), 0u) << call.out;
  EXPECT_NE(call.out.find("\nvaq-web/install.sh\n"), std::string::npos) << call.out;
  EXPECT_NE(call.out.find("\nDEPLOY_PATCH\nDEPLOY_SUCCESS\n"), std::string::npos) << call.out;
  EXPECT_NE(read(site.Path("app/log.txt")).find("Controller[Deploy]::printDEPLOY_SUCCESS."),
            std::string::npos);
}

TEST_F(ProgramCommands, AFailedStepEndsWithStatusOneAndItsLine) {
  PrepareDeploy();
  site.ServeFile(DeploymentSite::RUNTIME_ARCHIVE, "not an archive");
  Call call = Run({"deploy", "--no-web-server"});
  EXPECT_EQ(call.status, 1);
  EXPECT_NE(call.out.find("\nUNZIP_DOCKER_FAILED"), std::string::npos) << call.out;
  EXPECT_EQ(call.out.find("DOWNLOAD_PATCH"), std::string::npos) << call.out;
}

TEST_F(ProgramCommands, DeleteGoesAheadOnlyWithYesOrAnAnswerOfYes) {
  PrepareDeploy();
  auto install = [this] {
    site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
    site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
    site.MakeControlDirectory(controlPath(), 0, 0, 0);
  };
  const struct {
    std::vector<std::string> arguments;
    const char* answer;
    int status;
  } cases[] = {{{"delete"}, nullptr, 2},
               {{"delete"}, "n", 2},
               {{"delete"}, "y", 0},
               {{"delete", "--yes"}, nullptr, 0}};
  for (const auto& c : cases) {
    install();
    site.ClearRecords();
    Call call = c.answer ? RunAtTerminal(c.arguments, c.answer) : Run(c.arguments);
    EXPECT_EQ(call.status, c.status) << c.arguments.size() << call.out << call.err;
    EXPECT_EQ(Records(), c.status ? ""
                                  : "ws_delapp.sh [-p] [9090]\nvaq-web/uninstall.sh [-p] "
                                    "[8080]\nruntime-1.0/uninstall.sh\n");
  }
}

TEST_F(ProgramCommands, MigrateTakesTheSettingsOverAndEnds) {
  PrepareDeploy();
  site.SetInteger("Install/Port", 9191);
  std::string source = site.WriteSettings("source.json");
  Call call = Run({"migrate", source});
  EXPECT_EQ(call.status, 0) << call.out << call.err;
  EXPECT_NE(call.out.find("MIGRATE_DONE\n"), std::string::npos) << call.out;
  EXPECT_NE(read(site.Path("app/Settings.json")).find("9191"), std::string::npos);
  EXPECT_EQ(Records(), "");
}

TEST_F(ProgramCommands, ColoursOnlyAtATerminalOrWhenForced) {
  PrepareDeploy();
  EXPECT_EQ(Run({"update"}).out.find('\x1b'), std::string::npos);
  EXPECT_NE(Run({"update"}, "CLICOLOR_FORCE=1").out.find("\x1b[0;32mUPDATING_SUCCESS\x1b[0m"),
            std::string::npos);
  EXPECT_NE(RunAtTerminal({"update"}, "").out.find("\x1b[0;32m"), std::string::npos);
  EXPECT_EQ(RunAtTerminal({"update"}, "", "NO_COLOR=1").out.find('\x1b'), std::string::npos);
}

TEST_F(ProgramCommands, SetsGetsAndShowsSettingsWithStatusesAScriptCanRead) {
  site.WriteSettings("app/Settings.json");
  Call changed = Run({"set", "WebServer/Port", "8081", "Patch/Version", "24.2.0.8"});
  EXPECT_EQ(changed.status, 0) << changed.err;
  EXPECT_EQ(changed.out, "WebServer/Port: 8080 -> 8081\nPatch/Version: 24.2.0.7 -> 24.2.0.8\n");
  std::string before = read(site.Path("app/Settings.json"));
  Call refused = Run({"set", "Install/Port", "9191", "WebServer/Port", "70000"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("WebServer/Port"), std::string::npos) << refused.err;
  EXPECT_EQ(read(site.Path("app/Settings.json")), before);
  EXPECT_EQ(Run({"get", "WebServer/Port"}).out, "8081\n");
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/log.txt")));
  std::filesystem::remove(site.Path("app/Settings.json"));
  Call missing = Run({"show"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Settings.json"), std::string::npos) << missing.err;
}

TEST_F(ProgramCommands, InitMakesAWorkingFolderOnceAndADryRunWorksThere) {
  std::string folder = site.Path("fresh/app");
  Call made = Shell(Shell::Word(PROGRAM) + " init -C " + Shell::Word(folder) + " --lang ru");
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(read(folder + "/Resources.res"), read(DEPLOYER_SOURCE_DIR "/share/Resources.ru.res"));
  EXPECT_EQ(Shell(Shell::Word(PROGRAM) + " init -C " + Shell::Word(folder)).status, 2);
  Call plan = Shell(Shell::Word(PROGRAM) + " -C " + Shell::Word(folder) + " deploy --dry-run");
  EXPECT_EQ(plan.status, 0) << plan.err;
  EXPECT_EQ(plan.out.find("mkdir temp\nwget "), 0u) << plan.out;
  EXPECT_FALSE(std::filesystem::exists(folder + "/temp"));
}

TEST_F(ProgramCommands, DryRunPrintsExactlyTheCommandsThatTheRealRunLogs) {
  PrepareDeploy();
  site.Set("Install/Catalog", "it's $(touch pwned) `x` ; & ~home");
  site.WriteSettings("app/Settings.json");
  std::string settings = read(site.Path("app/Settings.json"));
  Call plan = Run({"deploy", "--dry-run"});
  EXPECT_EQ(plan.status, 0) << plan.err;
  EXPECT_EQ(Records(), "");
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/temp")));
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/log.txt")));
  EXPECT_EQ(read(site.Path("app/Settings.json")), settings);

  EXPECT_EQ(Run({"deploy"}).status, 0);
  std::string ran;
  std::istringstream log(Normalised(read(site.Path("app/log.txt"))));
  const std::string run = "> Controller[Deploy]::run ";
  for (std::string line; std::getline(log, line);) {
    if (line.size() <= 9 + run.size() || line.compare(9, run.size(), run) != 0 ||
        line.compare(9 + run.size(), 7, "result ") == 0)
      continue;
    ran += line.substr(9 + run.size(), line.size() - 10 - run.size()) + "\n";
  }
  EXPECT_EQ(plan.out, ran);
  EXPECT_NE(Records().find(" [-vc] [it's $(touch pwned) `x` ; & ~home] "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(site.Path("app/pwned")));
}

// A folder that is still there after its removal fails the delete, and a migration whose delete
// of the other installation failed (an immutable file keeps the folder, even for root).
TEST_F(ProgramCommands, AFolderLeftBehindFailsTheDeleteAndTheMigration) {
  PrepareDeploy();
  site.WriteScript(site.Path("web/vaq-web/uninstall.sh"), "vaq-web/uninstall.sh", 0);
  site.WriteScript(site.Path("docker/runtime-1.0/uninstall.sh"), "runtime-1.0/uninstall.sh", 0);
  std::string stuck = site.Path("docker/runtime-1.0/stuck");
  site.ServeFile("../docker/runtime-1.0/stuck", "");
  if (std::system(("chattr +i " + Shell::Word(stuck) + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "chattr +i is not available here";
  std::string source = site.WriteSettings("source.json");
  Call deleted = Run({"delete", "--yes"});
  Call migrated = Run({"migrate", source, "--delete-source", "--yes"});
  std::system(("chattr -i " + Shell::Word(stuck)).c_str());
  EXPECT_EQ(deleted.status, 1);
  EXPECT_NE(deleted.out.find("DELETE_FOLDER_FAIL{site}/docker/runtime-1.0\nDELETED\n"),
            std::string::npos)
      << deleted.out;
  EXPECT_EQ(migrated.status, 1);
  EXPECT_NE(migrated.out.find("\nDELETED\nMIGRATE_DONE\n"), std::string::npos) << migrated.out;
}
