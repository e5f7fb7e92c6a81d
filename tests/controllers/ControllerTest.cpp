#include "controllers/Controller.h"

#include <filesystem>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

class ControllerTest : public ControllerFixture {
 protected:
  ControllerTest() { Open(); }

  std::unique_ptr<Controller> Make() {
    return std::make_unique<Controller>(Arguments(true, true, false), &programVersion, "Deploy");
  }
};

// A controller whose commands the test gives.
class Running : public Controller {
 public:
  using Controller::Controller;
  using Controller::run;
};

TEST_F(ControllerTest, PrintsTheMessageBytesAsTheyAreAndLogsThemWithoutColour) {
  auto controller = Make();
  std::string message = "a \"quoted\" $(touch ran1) `touch ran2` \\n $HOME";
  testing::internal::CaptureStdout();
  controller->print(message);
  controller->print(message, true);
  controller->print(message, Green);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            message + "\n" + message + "\n\x1b[0;32m" + message + "\x1b[0m\n");
  EXPECT_FALSE(std::filesystem::exists("ran1"));
  EXPECT_FALSE(std::filesystem::exists("ran2"));
  std::string log = Log();
  EXPECT_NE(log.find(" > Controller[Deploy]::print " + message + ".\n"), std::string::npos);
  EXPECT_NE(log.find(" > Controller[Deploy]::print" + message + ".\n"), std::string::npos);
  EXPECT_EQ(log.find("\x1b"), std::string::npos);
}

TEST_F(ControllerTest, LogsEveryCommandAsItRunsAndItsResult) {
  // The last word is checked as a path.
  const struct {
    std::vector<std::string> command;
    int result;
    const char *line, *outcome;
  } cases[] = {
      {{"bash", "-c", "exit 4"}, 1024, "run bash -c 'exit 4'.", "run result 1024 (exit status 4)."},
      {{"nowhere"}, 32512, "run nowhere.", "run result 32512 (could not be started)."},
      {{"rm", "-x"}, Controller::REFUSED, "run refused rm -x because -x begins with -.", ""},
  };
  for (const auto& test : cases) {
    Open();
    Running controller(Arguments(false, false, false), &programVersion, "Deploy");
    testing::internal::CaptureStderr();
    EXPECT_EQ(controller.run(test.command, {test.command.back()}), test.result);
    testing::internal::GetCapturedStderr();
    std::string log = Log();
    size_t line = log.find(std::string(" > Controller[Deploy]::") + test.line + "\n");
    EXPECT_NE(line, std::string::npos) << log;
    size_t outcome = log.find(" > Controller[Deploy]::run result");
    if (*test.outcome) {
      EXPECT_EQ(outcome, log.find(std::string(" > Controller[Deploy]::") + test.outcome, line))
          << log;
    }
    EXPECT_EQ(outcome == std::string::npos, !*test.outcome) << log;
  }
}

// Standard output carries only the command lines; a failure still shows, on standard error.
TEST_F(ControllerTest, InADryRunPrintsTheCommandInsteadOfRunningItAndFailuresToStandardError) {
  dryRun = true;
  Running controller(Arguments(false, false, false), &programVersion, "Deploy");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  controller.print("plain");
  controller.print("done", Green);
  controller.print("failed", Red);
  EXPECT_EQ(controller.run({"touch", "ran file"}), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\x1b[0;31mfailed\x1b[0m\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "touch 'ran file'\n");
  EXPECT_FALSE(std::filesystem::exists("ran file"));
  std::string log = Log();
  EXPECT_NE(log.find("Controller[Deploy]::printdone.\n"), std::string::npos);
  EXPECT_NE(log.find("Controller[Deploy]::run touch 'ran file'.\n"), std::string::npos);
}

TEST_F(ControllerTest, DerivesTheWebServerControlDirectoryFromTheArchiveName) {
  const struct {
    const char* archive;
    const char* unpackName;
    const char* controlPath;
  } cases[] = {
      {"vaq-web_d2.tar.gz", "vaq-web", "/opt/web_8080/ctl"},
      {"vaq-.tar.gz", "vaq-", "/opt/vaq-_8080/ctl"},
      {"vaqweb.tar.gz", "vaqweb", "/opt/vaqweb_8080/ctl"},
      {"web_dev_d3.tar.gz", "web", "/opt/web_8080/ctl"},
      {"server.zip", "server.zip", "/opt/server.zip_8080/ctl"},
      {"", "", "/opt/_8080/ctl"},
  };
  site.Set("WebServer/Path", "/opt/");
  for (const auto& test : cases) {
    site.Set("WebServer/Url", std::string("http://host/files/") + test.archive);
    Open();
    auto controller = Make();
    EXPECT_EQ(controller->getWebServerUnPackName(), test.unpackName) << test.archive;
    EXPECT_EQ(controller->getWebServerPath(), test.controlPath) << test.archive;
  }
}

TEST_F(ControllerTest, NamesThePatchByPuttingTheVersionForEveryStar) {
  site.Set("Patch/Version", "1.24.2.7");
  const std::pair<const char*, const char*> cases[] = {
      {"app-*.sh", "app-1.24.2.7.sh"}, {"fixed.sh", "fixed.sh"}, {"*_*", "1.24.2.7_1.24.2.7"}};
  for (const auto& [patchTemplate, patchName] : cases) {
    site.Set("Patch/Template", patchTemplate);
    Open();
    EXPECT_EQ(Make()->getPatchName(), patchName);
  }
}

}  // namespace
