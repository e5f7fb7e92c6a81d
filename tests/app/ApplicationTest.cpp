#include "app/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <vector>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "controllers/ControllerArguments.h"
#include "support/TempDir.h"

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
  StandIn(Version* version, Logger* logger, Resources* resources, Settings* settings,
          std::vector<Step> steps)
      : Application(version, logger, resources, settings,
                    {"Resources.res", "Settings.json", "log.txt"}),
        steps(steps) {}

  std::vector<int> controllerRuns;
  std::vector<std::string> titlesSeen;
  int screenLeft = 0;

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
    controllerRuns.push_back(action);
    Step& step = steps.at(cycle - 1);
    return step.controller ? step.controller() : true;
  }
  void leaveScreenMode() override { screenLeft++; }

 private:
  std::vector<Step> steps;
  size_t cycle = 0;
};

// A working folder with both files, the four services and the outcome of one run.
struct Session {
  explicit Session(std::vector<Step> steps) {
    dir.Write("Resources.res", "#MAIN_TITLE=[first]");
    dir.Write("Settings.json", "{\"Docker\": {\"Path\": \"/opt/\"}}");
    this->steps = steps;
  }
  int Start() {
    Version version("1.24.2.1");
    {
      Logger logger(dir.File("log.txt"));
      Resources resources(&logger, dir.File("Resources.res"));
      Settings settings(&logger, dir.File("Settings.json"));
      StandIn application(&version, &logger, &resources, &settings, steps);
      testing::internal::CaptureStdout();
      testing::internal::CaptureStderr();
      status = application.Run();
      out = testing::internal::GetCapturedStdout();
      err = testing::internal::GetCapturedStderr();
      controllerRuns = application.controllerRuns;
      titlesSeen = application.titlesSeen;
      screenLeft = application.screenLeft;
    }
    log = dir.Read("log.txt");
    return status;
  }
  // The log's messages, each followed by "|", from the first one that begins with from up to
  // the clearing of the settings.
  std::string Lines(const std::string& from) {
    std::string result;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.size() < 11 || line.compare(8, 3, " > ") != 0)
        continue;
      std::string message = line.substr(11);
      if (!result.empty() && message.rfind("Json::", 0) == 0)  // the tree cleared at the end
        break;
      if (!result.empty() || message.rfind(from, 0) == 0)
        result += message + "|";
    }
    return result;
  }

  TempDir dir;
  std::vector<Step> steps;
  int status = -1;
  std::string out, err, log;
  std::vector<int> controllerRuns;
  std::vector<std::string> titlesSeen;
  int screenLeft = 0;
};

Step action(int code) {
  Step step;
  step.action = code;
  return step;
}

}  // namespace

TEST(Application, NoActionEndsAfterTheInterfaceLines) {
  Session run({action(0)});
  EXPECT_EQ(run.Start(), 0);
  EXPECT_EQ(run.Lines("AFTER"), "AFTER||End of TUI execution.|");
  EXPECT_TRUE(run.controllerRuns.empty());
  EXPECT_EQ(run.out + run.err, "");
}

TEST(Application, DeployUpdateAndDeleteRunTheirControllerOnce) {
  for (int code : {1, 2, 3}) {
    Session run({action(code)});
    EXPECT_EQ(run.Start(), 0);
    EXPECT_EQ(run.controllerRuns, std::vector<int>{code});
    EXPECT_NE(run.log.find(" > --------------------Controller executing---------------------"),
              std::string::npos);
  }
}

TEST(Application, MigrationReloadsBothFilesAndShowsTheInterfaceAgain) {
  Session run({});
  Step migrate = action(4);
  migrate.migratePath = "/other/Settings.json";
  migrate.controller = [&run] {
    run.dir.Write("Resources.res", "#MAIN_TITLE=[second]");
    return true;
  };
  run.steps = {migrate, action(0)};
  EXPECT_EQ(run.Start(), 0);
  EXPECT_EQ(run.controllerRuns, std::vector<int>{4});
  EXPECT_EQ(run.titlesSeen, (std::vector<std::string>{"first", "second"}));
  EXPECT_NE(run.Lines("AFTER").find("AFTER|/other/Settings.json|End of TUI execution.|"),
            std::string::npos);
}

TEST(Application, FailedActionEndsWithStatusOne) {
  Step deploy = action(1);
  deploy.controller = [] { return false; };
  Session run({deploy});
  EXPECT_EQ(run.Start(), 1);
}

TEST(Application, FailureWhileTheWindowExistsForcesScreenModeOff) {
  Step step = action(1);
  step.inWindow = [] { throw "Broken screen"; };
  Session run({step});
  EXPECT_EQ(run.Start(), 1);
  EXPECT_EQ(run.Lines("Uncaught"),
            "Uncaught exception:|Broken screen|Force deactivate screen mode.|");
  EXPECT_EQ(run.screenLeft, 1);
  EXPECT_EQ(run.out, "Exceptions in log file!\n");
  EXPECT_TRUE(run.controllerRuns.empty());
}

TEST(Application, FailuresOutsideTheWindowEndWithoutScreenOutput) {
  struct Case {
    const char* name;
    std::function<void(Step&)> arrange;
    const char* logged;
    std::vector<int> controllerRuns;
    int status;
  } cases[] = {
      {"before the window",
       [](Step& s) { s.beforeWindow = [] { throw "No window"; }; },
       "Uncaught exception:|No window|",
       {},
       0},
      {"unknown failure",
       [](Step& s) { s.beforeWindow = [] { throw 42; }; },
       "Unknown exception.|",
       {},
       0},
      {"in the controller",
       [](Step& s) { s.controller = []() -> bool { throw "Script gone"; }; },
       "Uncaught exception:|Script gone|",
       {4},
       1},
  };
  for (const Case& c : cases) {
    Step step = action(4);
    c.arrange(step);
    Session run({step, action(0)});
    EXPECT_EQ(run.Start(), c.status) << c.name;
    std::string logged = c.logged;
    EXPECT_EQ(run.Lines(logged.substr(0, logged.find('|'))), logged) << c.name;
    EXPECT_EQ(run.controllerRuns, c.controllerRuns) << c.name;
    EXPECT_EQ(run.out + run.err, "") << c.name;
    EXPECT_EQ(run.screenLeft, 0) << c.name;
  }
}

TEST(Application, FileThatCannotBeLoadedEndsWithStatusOneAndOneLine) {
  struct Case {
    const char* file;
    const char* content;  // nullptr: the file is missing
    const char* thrown;
  } cases[] = {
      {"Resources.res", nullptr, "Fail when load resources"},
      {"Resources.res", "#KEY=x", "ResourceReadFormat"},
      {"Settings.json", nullptr, "Fail when load settings"},
      {"Settings.json", "[]", nullptr},
  };
  for (const Case& c : cases) {
    Session run({action(1)});
    if (c.content)
      run.dir.Write(c.file, c.content);
    else
      std::remove(run.dir.File(c.file).c_str());
    EXPECT_EQ(run.Start(), 1) << c.file;
    EXPECT_TRUE(run.controllerRuns.empty());
    EXPECT_EQ(run.err.find(std::string("Cannot load ") + c.file), 0u) << run.err;
    EXPECT_NE(run.err.find("see log.txt"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    if (c.thrown) {
      EXPECT_NE(run.Lines("Uncaught").find(std::string("|") + c.thrown + "|"), std::string::npos);
    }
    EXPECT_EQ(run.log.find("AFTER"), std::string::npos);
  }
}
