#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "support/Shape.h"
#include "support/TempDir.h"

namespace {

const std::string PROGRAM = DEPLOYER_BINARY_DIR "/deployer";
const std::string SHARE = DEPLOYER_SOURCE_DIR "/share/";

// Runs the program without a terminal in a working folder prepared from the shipped files.
struct Program {
  Program() {
    for (const char* name : {"Settings.json", "Resources.res"})
      std::filesystem::copy_file(SHARE + name, dir.File(name));
  }
  int Run() {
    // The time limit only keeps a program that hangs from stopping the tests.
    std::string command =
        "cd '" + dir.Path() + "' && timeout 60 '" + PROGRAM + "' </dev/null >out.txt 2>err.txt";
    int result = std::system(command.c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  }

  TempDir dir;
};

}  // namespace

TEST(Program, InputThatIsNoSmallRegularFileIsRefusedAtOnceWithStatusOneAndOneLine) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
  auto fifo = [](const std::string& path) { mkfifo(path.c_str(), 0600); };
  struct Case {
    const char* file;
    std::function<void(const std::string&)> make;
    const char* reason;
  } cases[] = {
      {"Settings.json",
       [](const std::string& path) {
         close(creat(path.c_str(), 0644));
         truncate(path.c_str(), 50 << 20);
       },
       "larger than 4 MiB"},
      {"Settings.json", fifo, "not a regular file"},
      {"Settings.json", [](const std::string& path) { symlink("/dev/zero", path.c_str()); },
       "not a regular file"},
      {"Resources.res", fifo, "not a regular file"},
  };
  for (const Case& c : cases) {
    Program program;
    std::filesystem::remove(program.dir.File(c.file));
    c.make(program.dir.File(c.file));
    EXPECT_EQ(program.Run(), 1) << c.reason;
    EXPECT_EQ(program.dir.Read("err.txt"), std::string("Cannot load ") + c.file + " (" + c.reason +
                                               "); see log.txt for details.\n");
    // The whole log, small: the start line, the program version first, the duration line last.
    std::string log = program.dir.Read("log.txt");
    EXPECT_LT(log.size(), 4096u);
    EXPECT_TRUE(
        MatchesShape(log, "Started at ##.##.#### ##:##:##\n##:##:## > Version 1.24.2.1\n", true))
        << log;
    EXPECT_NE(log.find("\nDuration: "), std::string::npos) << log;
  }
  struct rusage usage;
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "kilobytes at most in any program run so far";
}
