#include "cli/StatusCommand.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "app/WorkingLock.h"
#include "support/ProgramSite.h"

namespace {

class StatusCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramSite::Built())
      GTEST_SKIP() << "the program is not built";
    program.site.Set("Install/HealthUrl", program.site.HealthUrl());
    program.WriteSettings();
  }

  ProgramSite program;
};

}  // namespace

TEST_F(StatusCommandTest, ExitsWithZeroOnlyWhenDeployedSucceededAndHealthy) {
  auto deploy = [this] { program.Run({"deploy", "--no-runtime", "--no-web-server"}); };
  auto remove = [this] {
    program.site.WriteScript(program.site.Path("web/vaq-web/uninstall.sh"), "uninstall", 0);
    program.site.WriteScript(program.site.Path("docker/runtime-1.0/uninstall.sh"), "uninstall", 0);
    program.Run({"delete", "--yes"});
  };
  auto markBad = [this] { program.site.MarkBad("app-24.2.0.7.sh"); };
  const struct {
    const char* name;
    std::function<void()> step;
    int status;
    const char* shown;
  } cases[] = {
      {"nothing deployed", [] {}, 1,
       "\"deployed_version\": null, \"previous_version\": null, "
       "\"last_action\": null"},
      {"deployed", deploy, 0, "\"health\": {\"checked\": true, \"ok\": true"},
      {"unhealthy", markBad, 1, "\"ok\": false, \"detail\": \"HTTP 500"},
      {"deleted", remove, 1, "\"deployed_version\": null"},
  };
  for (const auto& c : cases) {
    c.step();
    ProgramSite::Call call = program.Run({"status", "--json"});
    EXPECT_EQ(call.status, c.status) << c.name << call.out;
    EXPECT_NE(call.out.find(c.shown), std::string::npos) << c.name << call.out;
    EXPECT_EQ(program.Run({"status"}).status, c.status) << c.name;
  }
}

TEST_F(StatusCommandTest, ShowsDriftComponentsAndALiveLockHolder) {
  program.Run({"deploy", "--no-runtime", "--no-web-server"});
  program.Run({"set", "Install/Port", "9191"});
  WorkingLock lock(program.site.Path("app/.deployer.lock"));
  ASSERT_EQ(lock.Take("update"), WorkingLock::Result::Taken);
  std::string shown = program.Run({"status", "--json"}).out;
  EXPECT_NE(
      shown.find("\"drift\": true, \"components\": {\"runtime\": false, \"web_server\": true}"),
      std::string::npos)
      << shown;
  EXPECT_NE(shown.find("\"lock\": {\"pid\": " + std::to_string(getpid()) + ", \"user\": \"" +
                       getpwuid(geteuid())->pw_name + "\", \"command\": \"update\", \"since\": \""),
            std::string::npos)
      << shown;
}
