#include "cli/Console.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// What a child process writes to its standard output when it runs write.
std::string outputOf(void (*write)()) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    write();
    std::fflush(stdout);
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<size_t>(got));
  close(pipeEnds[0]);
  waitpid(child, nullptr, 0);
  return output;
}

}  // namespace

TEST(Console, OutputKeepsItsOrderWithTheCLibrarysOwn) {
  // Standard output is a pipe here, so the C library buffers it: a stream with a buffer of its
  // own would put its text after or before all of printf's.
  EXPECT_EQ("1 two 3 four\n", outputOf([] {
              std::printf("1 ");
              Console::Out() << "two ";
              std::printf("3 ");
              Console::Out() << "four\n";
            }));
}

TEST(Console, AnErrorComesAfterWhatTheOutputHasPrinted) {
  // Both go to the same pipe, as with 2>&1 into a file.
  EXPECT_EQ("result\ndeployer: failed\n", outputOf([] {
              dup2(STDOUT_FILENO, STDERR_FILENO);
              Console::Out() << "result\n";
              Console::Err() << "deployer: failed\n";
              std::_Exit(0);
            }));
}

TEST(Console, ReadingFlushesTheOutputFirst) {
  EXPECT_EQ(&Console::Out(), Console::In().tie());
}
