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
