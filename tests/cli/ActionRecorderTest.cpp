// Deploy, update and rollback run by the built program against the loopback site, whose web
// server scripts record the patch they were given and whose health server answers 500 while a
// patch marked bad is deployed.
#include "cli/ActionRecorder.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/ProgramSite.h"

namespace {

const std::string GOOD = "app-24.2.0.7.sh";
const std::string BAD = "app-24.2.0.8.sh";

class ActionRecorderTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramSite::Built())
      GTEST_SKIP() << "the program is not built";
    program.site.Set("Install/HealthUrl", program.site.HealthUrl());
    program.site.SetInteger("Install/HealthTimeout", 2);
    program.site.MarkBad(BAD);
    program.WriteSettings();
  }

  ProgramSite::Call Deploy() { return program.Run({"deploy", "--no-runtime", "--no-web-server"}); }
  ProgramSite::Call UpdateTo(const std::string& version, bool rollBack = true) {
    program.Run({"set", "Patch/Version", version});
    return program.Run(rollBack ? std::vector<std::string>{"update"}
                                : std::vector<std::string>{"update", "--no-rollback"});
  }
  std::string Setting(const std::string& path) { return program.Run({"get", path}).out; }
  std::string Status() { return program.Run({"status", "--json"}).out; }
  std::string LastHistory() { return program.Run({"history", "--json", "-n", "1"}).out; }

  ProgramSite program;
};

}  // namespace

TEST_F(ActionRecorderTest, AHealthyDeployIsTheDeployedReleaseAndItsJournalRecordsAreComplete) {
  ProgramSite::Call deploy = Deploy();
  EXPECT_EQ(deploy.status, 0) << deploy.out << deploy.err;
  EXPECT_NE(deploy.out.find("The application is healthy, after 0 s."), std::string::npos);
  EXPECT_EQ(program.site.Deployed(), GOOD);
  std::string journal = program.Read("app/history.jsonl");
  EXPECT_EQ(journal.find("{\"record\": \"start\""), 0u) << journal;
  for (const char* field :
       {"\"record\": \"end\"", "\"result\": \"succeeded\"", "\"version_before\": null",
        "\"version_after\": \"24.2.0.7\"", "\"exit_status\": 0", "\"settings_sha256\": \""})
    EXPECT_NE(journal.find(field), std::string::npos) << field << journal;
}

TEST_F(ActionRecorderTest, AnUnhealthyUpdateReturnsToThePreviousGoodReleaseAndItsSettings) {
  Deploy();
  ProgramSite::Call update = UpdateTo("24.2.0.8");
  EXPECT_EQ(update.status, 1);
  EXPECT_NE(update.out.find("The application is not healthy: HTTP 500"), std::string::npos)
      << update.out;
  EXPECT_NE(update.out.find("rolled back to the release 24.2.0.7"), std::string::npos);
  EXPECT_EQ(program.site.Deployed(), GOOD);
  EXPECT_EQ(Setting("Patch/Version"), "24.2.0.7\n");
  std::string status = Status();
  EXPECT_NE(status.find("\"deployed_version\": \"24.2.0.7\""), std::string::npos) << status;
  EXPECT_NE(status.find("\"result\": \"rolled_back\""), std::string::npos) << status;
  EXPECT_EQ(program.Run({"status"}).status, 1);
  EXPECT_NE(LastHistory().find("\"failed_command\": \"wget "), std::string::npos);
}

TEST_F(ActionRecorderTest, NoRollbackLeavesTheFailedUpdateInPlace) {
  Deploy();
  EXPECT_EQ(UpdateTo("24.2.0.8", false).status, 1);
  EXPECT_EQ(program.site.Deployed(), BAD);
  EXPECT_EQ(Setting("Patch/Version"), "24.2.0.8\n");
  EXPECT_NE(LastHistory().find("\"result\": \"failed\""), std::string::npos);
}

TEST_F(ActionRecorderTest, RollbackAppliesThePreviousOrTheChosenReleaseAndRefusesAnUnknownOne) {
  Deploy();
  EXPECT_EQ(UpdateTo("24.2.0.9").status, 0);
  struct {
    std::vector<std::string> arguments;
    int status;
    std::string deployed, previous;
  } cases[] = {
      {{"rollback"}, 0, "24.2.0.7", "24.2.0.9"},
      {{"rollback", "24.2.0.9"}, 0, "24.2.0.9", "24.2.0.7"},
      {{"rollback", "24.2.0.8"}, 2, "24.2.0.9", "24.2.0.7"},
  };
  for (const auto& c : cases) {
    ProgramSite::Call call = program.Run(c.arguments);
    EXPECT_EQ(call.status, c.status) << c.arguments.size() << call.out << call.err;
    EXPECT_EQ(program.site.Deployed(), "app-" + c.deployed + ".sh");
    EXPECT_EQ(Setting("Patch/Version"), c.deployed + "\n");
    std::string status = Status();
    EXPECT_NE(status.find("\"deployed_version\": \"" + c.deployed + "\", \"previous_version\": \"" +
                          c.previous + "\""),
              std::string::npos)
        << status;
  }
}

TEST_F(ActionRecorderTest, AnUpdateKilledMidwayLeavesAnInterruptedRecord) {
  Deploy();
  std::string started = program.site.Path("started");
  program.site.WriteScript(program.site.Path("web/web_8080/ctl/ws_updapp.sh"), "ws_updapp.sh", 0,
                           "echo $$ >'" + started + "'; sleep 30\n");
  std::string pidFile = program.site.Path("pid");
  std::system(
      (program.Command({"update"}) + " </dev/null >/dev/null 2>&1 & echo $! >" + pidFile).c_str());
  for (int wait = 0; wait < 200 && !std::filesystem::exists(started); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  kill(std::stoi(program.Read("pid")), SIGKILL);
  kill(-std::stoi(program.Read("started")), SIGKILL);  // the script's own process group
  EXPECT_NE(LastHistory().find("\"action\": \"update\", \"result\": \"interrupted\""),
            std::string::npos)
      << LastHistory();
}
