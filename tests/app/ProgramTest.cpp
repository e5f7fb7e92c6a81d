#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <regex>

#include "support/TempDir.h"

namespace {

const std::string PROGRAM = DEPLOYER_BINARY_DIR "/deployer";
const std::string SHARE = DEPLOYER_SOURCE_DIR "/share/";

// Runs the program in a working folder prepared from the shipped files.
struct Program {
  Program() {
    for (const char* name : {"Settings.json", "Resources.res"})
      std::filesystem::copy_file(SHARE + name, dir.File(name));
  }
  int Run() {
    std::string command =
        "cd '" + dir.Path() + "' && '" + PROGRAM + "' </dev/null >out.txt 2>err.txt";
    int result = std::system(command.c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  }

  TempDir dir;
};

const std::regex LOG_START(
    "Started at \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\n\\d\\d:\\d\\d:\\d\\d > Version "
    "1\\.24\\.2\\.1\n[\\s\\S]*");
const std::regex LOG_END("[\\s\\S]*\nDuration: \\d+ sec\\.");

}  // namespace

TEST(Program, RunsInAPreparedFolderAndWritesTheLog) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
  Program program;
  EXPECT_EQ(program.Run(), 0);
  std::string log = program.dir.Read("log.txt");
  EXPECT_TRUE(std::regex_match(log, LOG_START)) << log;
  EXPECT_TRUE(std::regex_match(log, LOG_END)) << log;
  EXPECT_NE(log.find("Settings::Load main setting count 5."), std::string::npos) << log;
  EXPECT_EQ(program.dir.Read("err.txt"), "");
}

TEST(Program, FileThatCannotBeLoadedEndsWithStatusOneAndOneLine) {
  if (!std::filesystem::exists(PROGRAM))
    GTEST_SKIP() << "the program is not built";
  struct Case {
    const char* file;
    const char* content;  // nullptr: the file is missing
  } cases[] = {{"Settings.json", nullptr},
               {"Settings.json", "{\"Docker\": "},
               {"Resources.res", nullptr},
               {"Resources.res", "#KEY=text"}};
  for (const Case& c : cases) {
    Program program;
    if (c.content)
      program.dir.Write(c.file, c.content);
    else
      std::filesystem::remove(program.dir.File(c.file));
    EXPECT_EQ(program.Run(), 1) << c.file;
    std::string err = program.dir.Read("err.txt");
    EXPECT_TRUE(std::regex_match(
        err, std::regex(std::string("[^\n]*") + c.file + "[^\n]*log\\.txt[^\n]*\n")))
        << err;
    std::string log = program.dir.Read("log.txt");
    EXPECT_TRUE(std::regex_match(log, LOG_START) && std::regex_match(log, LOG_END)) << log;
  }
}
