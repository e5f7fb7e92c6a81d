#include "controllers/SpawnRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "support/WorkingDirectory.h"

namespace {

// Interrupt goes to the command, not to the program waiting for it.
TEST(SpawnRunner, ReportsTheWaitStatusAsSystemDidWithItsMeaning) {
  const struct {
    std::vector<std::string> words;
    int status;
    const char* meaning;
    const char* error;
  } cases[] = {
      {{"true"}, 0, "exit status 0", ""},
      {{"bash", "-c", "exit 4"}, 1024, "exit status 4", ""},
      {{"bash", "-c", "kill -9 $$"}, 9, "killed by signal 9", ""},
      {{"bash", "-c", "kill -INT $$"}, 2, "killed by signal 2", ""},
      {{"bash", "-c", "kill -INT $PPID; exit 3"}, 768, "exit status 3", ""},
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
  }
}

TEST(SpawnRunner, PassesEveryWordAsItIsAndExpandsNothing) {
  TempDir folder;
  WorkingDirectory directory(folder.Path());
  std::vector<std::string> words = {"printf", "[%s]"};
  for (const char* value : {"two words", "a\"quote", "it's", "$(touch ran)", "`touch ran`",
                            "semi;colon && amp&", "~", "~/x", "*", "", "new\nline"})
    words.push_back(value);
  testing::internal::CaptureStdout();
  EXPECT_EQ(SpawnRunner().Run(words).status, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "[two words][a\"quote][it's][$(touch ran)][`touch ran`][semi;colon && amp&][~][~/x]"
            "[*][][new\nline]");
  EXPECT_FALSE(std::filesystem::exists("ran"));
}

}  // namespace
