#include "app/Application.h"

#include <gtest/gtest.h>

#include <functional>
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

// One interface cycle of the stand-in: the action it returns and what it does on the way.
struct Step {
  int action = WindowAction::NO_ACTION;
  std::string migratePath;
  std::function<void()> inWindow;      // runs while the window exists
  std::function<void()> beforeWindow;  // runs before the window is built
  std::function<bool()> controller;    // the controller's work; true when it succeeded
};

// Drives the run sequence with scripted interface cycles and controllers.
class StandIn : public Application {
 public:
  StandIn(Version* version, Logger* logger, Resources* resources, Settings* settings, Files files,
          std::vector<Step> steps)
      : Application(version, logger, resources, settings, files), steps(steps) {}

  std::vector<std::string> titlesSeen;

 protected:
  int runInterface(std::unique_ptr<ControllerArguments>& arguments) override {
    Step& step = steps.at(cycle++);
    titlesSeen.push_back(resources->texts["MAIN_TITLE"]);
    if (step.beforeWindow)
      step.beforeWindow();
    windowOpened();
    arguments = std::make_unique<ControllerArguments>(logger, resources, settings, true, true,
                                                      false, step.migratePath, false);
    if (step.inWindow)
      step.inWindow();
    windowClosed();
    return step.action;
  }
  bool runController(int action, std::unique_ptr<ControllerArguments> arguments) override {
    EXPECT_NE(arguments, nullptr);
    logger->Write("controller " + std::to_string(action));
    Step& step = steps.at(cycle - 1);
    return step.controller ? step.controller() : true;
  }
  void leaveScreenMode() override { logger->Write("screen mode left"); }

 private:
  std::vector<Step> steps;
  size_t cycle = 0;
};

const std::string INTERFACE_ENDED = "AFTER||End of TUI execution.|";
const std::string BANNER = "--------------------Controller executing---------------------|";

// A working folder with both files, the four services and the outcome of one run.
struct Session {
  explicit Session(std::vector<Step> steps) : steps(std::move(steps)) {
    dir.Write("Resources.res", "#MAIN_TITLE=[first]");
    dir.Write("Settings.json", "{\"Docker\": {\"Path\": \"/opt/\"}}");
  }
  int Start() {
    Version version("1.24.2.1");
    Resources resources(log.Get(), dir.File("Resources.res"));
    Settings settings(log.Get(), dir.File("Settings.json"));
    StandIn application(&version, log.Get(), &resources, &settings,
                        {dir.File("Resources.res"), dir.File("Settings.json"), "log.txt"}, steps);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = application.Run();
    output = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    titlesSeen = application.titlesSeen;
    return status;
  }
  // The messages logged since the start, each followed by "|", without the trace of loading
  // settings.
  std::string Messages() {
    std::string result;
    for (const std::string& message : log.Take()) {
      if (message.rfind("Json", 0) != 0 && message.rfind("Settings::Load", 0) != 0)
        result += message + "|";
    }
    return result;
  }

  TempDir dir;
  LogCapture log;
  std::vector<Step> steps;
  std::string output;  // standard output and standard error
  std::vector<std::string> titlesSeen;
};

Step action(int code, std::function<void(Step&)> arrange = nullptr) {
  Step step;
  step.action = code;
  if (arrange)
    arrange(step);
  return step;
}

}  // namespace

TEST(Application, EachOutcomeOfACycleGivesItsLogOutputAndStatus) {
  const std::string ran = INTERFACE_ENDED + BANNER + "controller ";
  struct Case {
    const char* name;
    Step step;
    int status;
    std::string log;
    std::string output;
  } cases[] = {{"no action", action(0), 0, INTERFACE_ENDED, ""},
               {"deploy", action(1), 0, ran + "1|", ""},
               {"update", action(2), 0, ran + "2|", ""},
               {"delete", action(3), 0, ran + "3|", ""},
               {"failed action", action(1, [](Step& s) { s.controller = [] { return false; }; }), 1,
                ran + "1|", ""},
               {"failure in the window",
                action(1, [](Step& s) { s.inWindow = [] { throw "Broken screen"; }; }), 1,
                "Uncaught exception:|Broken screen|Force deactivate screen mode.|screen mode left|",
                "Exceptions in log file!\n"},
               {"failure before the window",
                action(4, [](Step& s) { s.beforeWindow = [] { throw "No window"; }; }), 0,
                "Uncaught exception:|No window|", ""},
               {"unknown failure", action(4, [](Step& s) { s.beforeWindow = [] { throw 42; }; }), 0,
                "Unknown exception.|", ""},
               {"failure in the controller",
                action(4, [](Step& s) { s.controller = []() -> bool { throw "Script gone"; }; }), 1,
                ran + "4|Uncaught exception:|Script gone|", ""}};
  for (const Case& c : cases) {
    Session run({c.step, action(0)});  // a run that goes on by mistake logs a second cycle
    EXPECT_EQ(run.Start(), c.status) << c.name;
    EXPECT_EQ(run.Messages(), c.log) << c.name;
    EXPECT_EQ(run.output, c.output) << c.name;
  }
}

TEST(Application, MigrationReloadsBothFilesAndShowsTheInterfaceAgain) {
  Session run({});
  run.steps = {action(4,
                      [&run](Step& s) {
                        s.migratePath = "/other/Settings.json";
                        s.controller = [&run] {
                          run.dir.Write("Resources.res", "#MAIN_TITLE=[second]");
                          return true;
                        };
                      }),
               action(0)};
  EXPECT_EQ(run.Start(), 0);
  EXPECT_EQ(run.Messages(), "AFTER|/other/Settings.json|End of TUI execution.|" + BANNER +
                                "controller 4|" + INTERFACE_ENDED);
  EXPECT_EQ(run.titlesSeen, (std::vector<std::string>{"first", "second"}));
}

TEST(Application, FileThatCannotBeLoadedEndsWithStatusOneAndOneLine) {
  const std::string shipped = " A default one is in " + InitCommand::DefaultsFolder() + "/.";
  const std::string init = " Run `deployer init` to create it.";
  struct Case {
    const char* file;
    const char* content;  // nullptr: the file is missing
    std::string log;      // FILE stands for the path of the file
    const char* thrown;
    std::string hint;
    bool otherMissing = false;
  } cases[] = {
      {"Resources.res", nullptr, "Can't open file FILE with resources. |",
       "Fail when load resources", shipped},
      {"Resources.res", nullptr, "Can't open file FILE with resources. |",
       "Fail when load resources", init, true},
      {"Resources.res", "#KEY=x", "Resource read unexpected char x wass found inFILE.|",
       "ResourceReadFormat", ""},
      {"Settings.json", nullptr, "Can't open file FILE with settings.|", "Fail when load settings",
       shipped},
      {"Settings.json", "[]", "", "Expected Json object token", ""},
  };
  for (const Case& c : cases) {
    Session run({action(1)});
    if (c.content)
      run.dir.Write(c.file, c.content);
    else
      std::remove(run.dir.File(c.file).c_str());
    if (c.otherMissing)
      std::remove(run.dir.File("Settings.json").c_str());
    EXPECT_EQ(run.Start(), 1) << c.file;
    EXPECT_EQ(run.output, "Cannot load " + run.dir.File(c.file) + " (" + c.thrown +
                              "); see log.txt for details." + c.hint + "\n");
    EXPECT_EQ(run.Messages(), String::Replace(c.log, "FILE", run.dir.File(c.file)) +
                                  "Uncaught exception:|" + c.thrown + "|");
  }
}
