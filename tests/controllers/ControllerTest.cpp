#include "controllers/Controller.h"

#include <filesystem>

#include "controllers/ControllerArguments.h"
#include "controllers/ControllerFixture.h"

namespace {

class ControllerTest : public ControllerFixture {
 protected:
  ControllerTest() { Open(); }

  std::unique_ptr<Controller> Make(const char* version = "1.24.2.1") {
    Version program(version);
    return std::make_unique<Controller>(Arguments(true, true, false), &program, "Deploy");
  }

  // Prints through the three overloads and returns what reached standard output.
  std::string PrintAll(Controller& controller, const std::string& message) {
    testing::internal::CaptureStdout();
    controller.print(message);
    controller.print(message, true);
    controller.print(message, Green);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(ControllerTest, PrintsTheMessageBytesAndLogsThemWithOrWithoutColour) {
  auto controller = Make();
  EXPECT_EQ(PrintAll(*controller, "done"), "done\ndone\n\x1b[0;32mdone\x1b[0m\n");
  std::string log = Log();
  EXPECT_NE(log.find(" > Controller[Deploy]::print done.\n"), std::string::npos);
  EXPECT_NE(log.find(" > Controller[Deploy]::printdone."), std::string::npos);
  EXPECT_EQ(log.find("\x1b"), std::string::npos);
}

TEST_F(ControllerTest, PrintsQuotesDollarsBackticksAndBackslashesAsTheyAre) {
  auto controller = Make();
  std::string message = "a \"quoted\" $(touch ran1) `touch ran2` \\n $HOME";
  EXPECT_EQ(PrintAll(*controller, message),
            message + "\n" + message + "\n\x1b[0;32m" + message + "\x1b[0m\n");
  EXPECT_FALSE(std::filesystem::exists("ran1"));
  EXPECT_FALSE(std::filesystem::exists("ran2"));
}

TEST_F(ControllerTest, RefusesToExecuteInTheBase) {
  auto controller = Make();
  try {
    controller->Execute();
    FAIL() << "no exception";
  } catch (const char* message) {
    EXPECT_STREQ(message, "Not Implemented Method");
  }
  EXPECT_FALSE(controller->Succeeded());
  EXPECT_NE(Log().find("Controller[Deploy]::Executing of not implemented method."),
            std::string::npos);
}

TEST_F(ControllerTest, TargetsTheSecondAndThirdPartOfTheProgramVersion) {
  EXPECT_EQ(Make()->getTargetVersion().ToString(), "24.2");
  Version target = Make("2.25.3")->getTargetVersion();
  EXPECT_EQ(target.ToString(), "25.3");
  EXPECT_TRUE(target.Equals(&target, 0));
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

TEST_F(ControllerTest, DerivesTheRuntimeFolderAndThePatchName) {
  site.Set("Patch/Version", "1.24.2.7");
  const struct {
    const char* patchTemplate;
    const char* patchName;
  } cases[] = {
      {"app-*.sh", "app-1.24.2.7.sh"}, {"fixed.sh", "fixed.sh"}, {"*_*", "1.24.2.7_1.24.2.7"}};
  for (const auto& test : cases) {
    site.Set("Patch/Template", test.patchTemplate);
    Open();
    EXPECT_EQ(Make()->getPatchName(), test.patchName);
  }
  EXPECT_EQ(Make()->getDockerUnPackName(), "runtime-1.0");
  EXPECT_EQ(Make()->cutAfterlifeSuffix("web_dev_d3"), "web");
  EXPECT_EQ(Make()->cutAfterlifeSuffix("web"), "web");
}

}  // namespace
