#include "cli/Console.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/ChildOutput.h"

namespace {

// What a child process writes to its standard output when it runs write.
std::string outputOf(void (*write)()) {
  return ChildOutput([write](int fd) {
    dup2(fd, STDOUT_FILENO);
    write();
    std::fflush(stdout);
  });
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
