#include "app/Application.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "cli/InitCommand.h"
#include "controllers/ControllerArguments.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "util/String.h"

namespace {

// One interface cycle of the stand-in: the action chosen and where the cycle breaks off.
struct Step {
  int action;
  char fails = ' ';  // 'b' throws before the window, 'u' throws no exception class there, 'w'
                     // throws in the window, 'c' throws in the controller, 'f' the controller fails
  const char* nextTitle = nullptr;  // the controller writes a resource file with this title
};

// Drives the run sequence with scripted interface cycles and controllers.
class StandIn : public Application {
 public:
  StandIn(Logger* logger, Resources* resources, Settings* settings, const TempDir& dir,
          std::vector<Step> steps)
      : Application(&version, logger, resources, settings,
                    {dir.File("Resources.res"), dir.File("Settings.json"), "log.txt"}),
        dir(dir),
        steps(steps) {}

  std::vector<std::string> titlesSeen;

 protected:
  int runInterface(std::unique_ptr<ControllerArguments>& arguments) override {
    const Step& step = steps.at(cycle++);
    titlesSeen.push_back(resources->texts["MAIN_TITLE"]);
    if (step.fails == 'b')
      throw "No window";
    if (step.fails == 'u')
      throw 42;
    windowOpened();
    arguments = std::make_unique<ControllerArguments>(logger, resources, settings, true, true,
                                                      false, "", false);
    if (step.fails == 'w')
      throw "Broken screen";
    windowClosed();
    return step.action;
  }
  bool runController(int action, std::unique_ptr<ControllerArguments> arguments) override {
    EXPECT_NE(arguments, nullptr);
    logger->Write("controller " + std::to_string(action));
    const Step& step = steps.at(cycle - 1);
    if (step.fails == 'c')
      throw "Script gone";
    if (step.nextTitle)
      dir.Write("Resources.res", std::string("#MAIN_TITLE=[") + step.nextTitle + "]");
    return step.fails != 'f';
  }
  void leaveScreenMode() override { logger->Write("screen mode left"); }

 private:
  Version version{"1.24.2.1"};
  const TempDir& dir;
  std::vector<Step> steps;
  size_t cycle = 0;
};

const char* const FIRST = "#MAIN_TITLE=[first]";
const char* const SETTINGS = "{\"Docker\": {\"Path\": \"/opt/\"}}";

// The outcome of one run in a working folder with the two files (nullptr: the file is missing).
struct Session {
  explicit Session(std::vector<Step> steps, const char* resourceFile = FIRST,
                   const char* settingsFile = SETTINGS) {
    if (resourceFile)
      dir.Write("Resources.res", resourceFile);
    if (settingsFile)
      dir.Write("Settings.json", settingsFile);
    Resources resources(log.Get(), dir.File("Resources.res"));
    Settings settings(log.Get(), dir.File("Settings.json"));
    StandIn application(log.Get(), &resources, &settings, dir, steps);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    status = application.Run();
    output = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    titlesSeen = application.titlesSeen;
    for (const std::string& message : log.Take())
      logged += message + "|";
  }

  TempDir dir;
  LogCapture log;
  int status;
  std::string output;  // standard output and standard error
  std::string logged;  // the messages, each followed by "|"
  std::vector<std::string> titlesSeen;
};

}  // namespace

TEST(Application, EachOutcomeOfACycleGivesItsStatusOutputAndLoggedCause) {
  const std::string see = "; see log.txt for details.";
  const std::string load = "Cannot load RES (Fail when load resources)" + see;
  const std::string shipped =
      load + " A default one is in " + InitCommand::DefaultsFolder() + "/.\n";
  const char* broken = "Broken screen|Force deactivate screen mode.|screen mode left|";
  struct Case {
    Step step;
    int status;
    std::string output;  // RES stands for the path of the resource file
    std::string logged;
    const char* resourceFile = FIRST;
    const char* settingsFile = SETTINGS;
  } cases[] = {
      {{0}, 0, "", ""},
      {{1}, 0, "", "controller 1|"},
      {{1, 'f'}, 1, "Deploy failed" + see + "\n", "controller 1|"},
      {{1, 'w'}, 1, "Exceptions in log file!\n", broken},
      {{4, 'b'}, 0, "", "No window|"},
      {{4, 'u'}, 0, "", "Unknown exception.|"},
      {{4, 'c'}, 1, "Migrate failed (Script gone)" + see + "\n", "Script gone|"},
      {{1}, 1, shipped, "", nullptr},
      {{1}, 1, load + " Run `deployer init` to create it.\n", "", nullptr, nullptr},
      {{1}, 1, "Cannot load RES (ResourceReadFormat)" + see + "\n", "", "#KEY=x"},
  };
  for (const Case& c : cases) {
    Session run({c.step, {0}}, c.resourceFile, c.settingsFile);
    EXPECT_EQ(run.status, c.status) << c.output;
    EXPECT_EQ(run.output, String::Replace(c.output, "RES", run.dir.File("Resources.res")));
    EXPECT_NE(run.logged.find(c.logged), std::string::npos) << run.logged;
    EXPECT_LE(run.titlesSeen.size(), 1u) << c.output;  // no run goes on to a second cycle
  }
}

TEST(Application, MigrationReloadsTheFilesAndShowsTheInterfaceAgain) {
  Session run({{4, ' ', "second"}, {0}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.titlesSeen, (std::vector<std::string>{"first", "second"}));
}
