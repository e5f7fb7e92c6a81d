#include "controllers/SpawnRunner.h"

#include "app/StopSignals.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/PseudoTerminal.h"

namespace {

// A stop signal sent to the program is recorded and passed on to the command's process group.
// What the command writes reaches the program's streams and is kept.
TEST(SpawnRunner, ReportsTheWaitStatusAsSystemDidWithItsMeaningAndOutput) {
  const struct {
    std::vector<std::string> words;
    int status;
    const char *meaning, *error, *output;
  } cases[] = {
      {{"bash", "-c", "echo a; echo b >&2; exit 4"}, 1024, "exit status 4", "b\n", "a\nb\n"},
      {{"bash", "-c", "kill -9 $$"}, 9, "killed by signal 9", "", ""},
      {{"bash", "-c", "kill -TERM $PPID; sleep 5"}, 15, "killed by signal 15", "", ""},
      {{"nosuch", "x"}, 32512, "could not be started", "deployer: nosuch: command not found\n", ""},
  };
  for (const auto& test : cases) {
    SpawnRunner runner;
    testing::internal::CaptureStderr();
    CommandRunner::Result result = runner.Run(test.words);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), test.error) << test.meaning;
    EXPECT_EQ(result.status, test.status) << test.meaning;
    EXPECT_EQ(result.meaning, test.meaning);
    EXPECT_EQ(result.output, test.output);
    EXPECT_EQ(StopSignals::StopRequested(), test.status == 15 ? SIGTERM : 0) << test.meaning;
    StopSignals::Reset();
  }
}

// In a session of its own with the pseudo-terminal as its controlling terminal, runs a command
// that reads a line from it; exits 0 when the command read "hello" and the terminal came back.
[[noreturn]] void runReaderOn(const PseudoTerminal& pty) {
  setsid();
  int side = pty.OpenSide();
  ioctl(side, TIOCSCTTY, 0);
  dup2(side, STDIN_FILENO);
  dup2(side, STDOUT_FILENO);
  CommandRunner::Result result = SpawnRunner().Run({"bash", "-c", "read line; [ $line = hello ]"});
  _exit(result.status == 0 && tcgetpgrp(STDIN_FILENO) == getpgrp() ? 0 : 1);
}

TEST(SpawnRunner, LendsTheTerminalToACommandThatReadsItAndTakesItBack) {
  PseudoTerminal pty;
  pid_t child = fork();
  if (child == 0)
    runReaderOn(pty);
  pty.Type("hello\n");
  int status = -1;
  pid_t ended = 0;
  for (int i = 0; i < 100 && ended == 0; ++i, usleep(100000))
    ended = waitpid(child, &status, WNOHANG);
  if (ended == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
