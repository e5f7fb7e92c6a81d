#include "app/DeployerApplication.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Logger.h"
#include "forms/WindowDesk.h"

namespace {
// The program's run sequence with the window on the in-memory screen.
class ScriptedApplication : public DeployerApplication {
 public:
  ScriptedApplication(WindowDesk& desk, std::deque<Step> script, int* closed)
      : DeployerApplication(&desk.version, desk.log.Get(), &desk.resources, &desk.settings,
                            {"Resources.res", "Settings.json", "log.txt"}),
        script(std::move(script)),
        closed(closed) {}

 protected:
  Window* createWindow() override {
    return new Window(logger, resources, settings, new ScreenTerminal(script, closed));
  }

 private:
  std::deque<Step> script;
  int* closed;
};

struct Outcome {
  int status;
  std::string out;
  std::vector<std::string> log;
  int closed;
};

Outcome run(std::deque<Step> script) {
  WindowDesk desk;
  int closed = 0;
  ScriptedApplication application(desk, std::move(script), &closed);
  testing::internal::CaptureStdout();
  int status = application.Run();
  return {status, testing::internal::GetCapturedStdout(), desk.log.Take(), closed};
}
}  // namespace

TEST(DeployerApplication, FailureInTheWindowLeavesScreenModeAndEndsWithStatusOne) {
  Outcome broken = run({Do([] { throw "Broken screen"; })});
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out, "Exceptions in log file!\n");
  EXPECT_GE(broken.closed, 1);
  EXPECT_TRUE(
      LogCapture::InOrder(broken.log, {"Uncaught exception:", "Broken screen",
                                       "Force deactivate screen mode.", "Destroying Window"}));
}
