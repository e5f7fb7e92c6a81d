#include "controllers/Controller.h"

#include <filesystem>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

class ControllerTest : public ControllerFixture {
 protected:
  ControllerTest() { Open(); }
};

// A controller whose commands the test gives.
class Running : public Controller {
 public:
  using Controller::Controller;
  using Controller::run;
};

TEST_F(ControllerTest, PrintsTheMessageBytesAsTheyAreAndLogsThemWithoutColour) {
  Controller controller(Arguments(true, true, false), &programVersion, "Deploy");
  std::string message = "a \"quoted\" $(touch ran1) `touch ran2` \\n $HOME";
  testing::internal::CaptureStdout();
  controller.print(message);
  controller.print(message, Green);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            message + "\n\x1b[0;32m" + message + "\x1b[0m\n");
  EXPECT_FALSE(std::filesystem::exists("ran1") || std::filesystem::exists("ran2"));
  std::string log = Log();
  EXPECT_NE(log.find(" > Controller[Deploy]::print" + message + ".\n"), std::string::npos);
  EXPECT_EQ(log.find("\x1b"), std::string::npos);
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
}

TEST_F(ControllerTest, DerivesTheWebServerControlDirectoryFromTheArchiveName) {
  const struct {
    const char *archive, *unpackName, *controlPath;
  } cases[] = {
      {"vaq-web_d2.tar.gz", "vaq-web", "/opt/web_8080/ctl"},
      {"vaqweb.tar.gz", "vaqweb", "/opt/vaqweb_8080/ctl"},
      {"server.zip", "server.zip", "/opt/server.zip_8080/ctl"},
  };
  site.Set("WebServer/Path", "/opt/");
  for (const auto& test : cases) {
    site.Set("WebServer/Url", std::string("http://host/files/") + test.archive);
    Open();
    Controller controller(Arguments(true, true, false), &programVersion, "Deploy");
    EXPECT_EQ(controller.getWebServerUnPackName(), test.unpackName) << test.archive;
    EXPECT_EQ(controller.getWebServerPath(), test.controlPath) << test.archive;
  }
}

}  // namespace
