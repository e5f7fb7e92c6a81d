#include "cli/DeployerApplication.h"

#include <gtest/gtest.h>

#include "forms/WindowDesk.h"

namespace {
// The program's run sequence with a window on the in-memory screen whose first read throws.
class BrokenApplication : public DeployerApplication {
 public:
  explicit BrokenApplication(WindowDesk& desk)
      : DeployerApplication(&desk.version, desk.log.Get(), &desk.resources, &desk.settings,
                            {"Resources.res", "Settings.json", "log.txt"}) {}
  int closed = 0;

 protected:
  Window* createWindow() override {
    return new Window(logger, resources, settings,
                      new ScreenTerminal({Do([] { throw "Broken screen"; })}, &closed));
  }
};
}  // namespace

TEST(DeployerApplication, FailureInTheWindowLeavesScreenModeAndEndsWithStatusOne) {
  WindowDesk desk;
  BrokenApplication application(desk);
  testing::internal::CaptureStdout();
  EXPECT_EQ(application.Run(), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Exceptions in log file!\n");
  EXPECT_GE(application.closed, 1);
  EXPECT_TRUE(LogCapture::InOrder(
      desk.log.Take(), {"Uncaught exception:", "Broken screen", "Force deactivate screen mode."}));
}
