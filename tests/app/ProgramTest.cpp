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

// The log of one run: the start line, the program version first, the duration line last.
void expectWholeLog(const std::string& log) {
  EXPECT_TRUE(
      MatchesShape(log, "Started at ##.##.#### ##:##:##\n##:##:## > Version 1.24.2.1\n", true))
      << log;
  size_t last = log.rfind("\nDuration: ");
  EXPECT_TRUE(last != std::string::npos && MatchesShape(log.substr(last), "\nDuration: # sec."))
      << log;
}

}  // namespace

TEST(Program, LoadsTheShippedFilesAndWritesTheWholeLog) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
  Program program;
  program.Run();  // without a terminal the interface cannot start
  std::string log = program.dir.Read("log.txt");
  expectWholeLog(log);
  EXPECT_NE(log.find("Settings::Load main setting count 5."), std::string::npos) << log;
  EXPECT_EQ(program.dir.Read("err.txt").find("Cannot load"), std::string::npos);
}

TEST(Program, FileThatCannotBeLoadedEndsWithStatusOneAndOneLine) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
  // One failure per file: the in-process tests of the run sequence cover the other ways to fail.
  std::pair<const char*, const char*> cases[] = {{"Settings.json", nullptr},  // missing
                                                 {"Resources.res", "#KEY=text"}};
  for (const auto& [file, content] : cases) {
    Program program;
    if (content)
      program.dir.Write(file, content);
    else
      std::filesystem::remove(program.dir.File(file));
    EXPECT_EQ(program.Run(), 1) << file;
    std::string err = program.dir.Read("err.txt");
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_NE(err.find(file), std::string::npos) << err;
    EXPECT_NE(err.find("log.txt"), std::string::npos) << err;
    expectWholeLog(program.dir.Read("log.txt"));
  }
}

TEST(Program, InputThatIsNoSmallRegularFileIsRefusedAtOnce) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
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
      {"Settings.json", [](const std::string& path) { mkfifo(path.c_str(), 0600); },
       "not a regular file"},
      {"Settings.json", [](const std::string& path) { symlink("/dev/zero", path.c_str()); },
       "not a regular file"},
      {"Resources.res", [](const std::string& path) { mkfifo(path.c_str(), 0600); },
       "not a regular file"},
  };
  for (const Case& c : cases) {
    Program program;
    std::filesystem::remove(program.dir.File(c.file));
    c.make(program.dir.File(c.file));
    EXPECT_EQ(program.Run(), 1) << c.reason;
    EXPECT_EQ(program.dir.Read("err.txt"), std::string("Cannot load ") + c.file + " (" + c.reason +
                                               "); see log.txt for details.\n");
    EXPECT_LT(std::filesystem::file_size(program.dir.File("log.txt")), 4096u);
  }
  struct rusage usage;
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "kilobytes at most in any program run so far";
}
