#include "cli/Application.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Logger.h"
#include "app/ResourceKeys.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "controllers/ControllerArguments.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {

// A resource file with every text the program uses (so that no warning is printed), all empty
// but the main title.
std::string texts(const std::string& title) {
  std::string file;
  for (const std::string& key : ResourceKeys::All())
    file += "#" + key + "=[]\n";
  return file + "#MAIN_TITLE=[" + title + "]";
}

// A run whose first interface cycle chooses an action (the second chooses none) that breaks off
// where fails says ('w' throws in the window, 'c' throws in the controller, 'f' the controller
// fails), with the title a successful controller writes into the resource file, and its outcome.
struct Script {
  int action;
  char fails;
  const char* nextTitle;
  int status;
  std::string output;  // standard output and error
  std::string logged;  // the messages, each followed by "|"
  std::string titlesSeen;
};

// Drives the run sequence through a script; tells the titles seen.
class StandIn : public Application {
 public:
  StandIn(Logger* logger, Resources* resources, Settings* settings, const TempDir& dir,
          const Script& script)
      : Application(&version, logger, resources, settings,
                    {dir.File("Resources.res"), dir.File("Settings.json"), "log.txt"}),
        dir(dir),
        script(script) {}

  std::string titlesSeen;

 protected:
  int runInterface(std::unique_ptr<ControllerArguments>& arguments) override {
    titlesSeen += resources->texts["MAIN_TITLE"] + " ";
    windowOpened();
    arguments = std::make_unique<ControllerArguments>(logger, resources, settings, true, true,
                                                      false, "", false);
    if (script.fails == 'w')
      throw "Broken screen";
    windowClosed();
    return cycles++ == 0 ? script.action : 0;
  }
  bool runController(int, std::unique_ptr<ControllerArguments>) override {
    if (script.fails == 'c')
      throw "Script gone";
    if (script.nextTitle)
      dir.Write("Resources.res", texts(script.nextTitle));
    return script.fails != 'f';
  }
  void leaveScreenMode() override { logger->Write("screen mode left"); }

 private:
  Version version{"1.24.2.1"};
  const TempDir& dir;
  const Script& script;
  int cycles = 0;
};

}  // namespace

TEST(Application, EachOutcomeOfACycleGivesItsStatusOutputLoggedCauseAndNextCycle) {
  const std::string see = "; see log.txt for details.";
  const Script cases[] = {
      {0, ' ', nullptr, 0, "", "", "first "},
      {4, ' ', "second", 0, "", "", "first second "},
      {1, 'f', nullptr, 1, "Deploy failed" + see + "\n", "", "first "},
      {1, 'w', nullptr, 1, "Exceptions in log file!\n",
       "Broken screen|Force deactivate screen mode.|screen mode left|", "first "},
      {4, 'c', nullptr, 1, "Migrate failed (Script gone)" + see + "\n", "Script gone|", "first "},
  };
  for (const Script& c : cases) {
    TempDir dir;
    LogCapture log;
    dir.Write("Resources.res", texts("first"));
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json",
                               dir.File("Settings.json"));
    Resources resources(log.Get(), dir.File("Resources.res"));
    Settings settings(log.Get(), dir.File("Settings.json"));
    StandIn application(log.Get(), &resources, &settings, dir, c);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(application.Run(), c.status) << c.output;
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(),
              c.output);
    std::string logged;
    for (const std::string& message : log.Take())
      logged += message + "|";
    EXPECT_NE(logged.find(c.logged), std::string::npos) << logged;
    EXPECT_EQ(application.titlesSeen, c.titlesSeen) << c.output;
  }
}
