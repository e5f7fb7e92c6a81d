#include "controllers/SpawnRunner.h"

#include "app/StopSignals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

// A stop signal sent to the program is recorded and passed on to the command's process group.
TEST(SpawnRunner, ReportsTheWaitStatusAsSystemDidWithItsMeaning) {
  const struct {
    std::vector<std::string> words;
    int status;
    const char *meaning, *error;
  } cases[] = {
      {{"bash", "-c", "exit 4"}, 1024, "exit status 4", ""},
      {{"bash", "-c", "kill -9 $$"}, 9, "killed by signal 9", ""},
      {{"bash", "-c", "kill -TERM $PPID; sleep 5"}, 15, "killed by signal 15", ""},
      {{"no-such-program-here", "x"},
       32512,
       "could not be started",
       "deployer: no-such-program-here: command not found\n"},
  };
  for (const auto& test : cases) {
    SpawnRunner runner;
    testing::internal::CaptureStderr();
    CommandRunner::Result result = runner.Run(test.words);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), test.error) << test.meaning;
    EXPECT_EQ(result.status, test.status) << test.meaning;
    EXPECT_EQ(result.meaning, test.meaning);
    EXPECT_EQ(StopSignals::StopRequested(), test.status == 15 ? SIGTERM : 0) << test.meaning;
    StopSignals::Reset();
  }
}

}  // namespace
