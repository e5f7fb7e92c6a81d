#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/TempDir.h"

// An update without a terminal, in a working folder holding the shipped files and one input that
// is a huge sparse file, a pipe or a link to an endless device.
TEST(Program, InputThatIsNoSmallRegularFileIsRefusedAtOnceWithStatusOneAndOneLine) {
  const std::string program = DEPLOYER_BINARY_DIR "/deployer";
  if (!std::filesystem::exists(program))
    GTEST_SKIP() << "the program is not built";
  struct Case {
    const char *file, *reason, *kind;
  } cases[] = {{"Settings.json", "larger than 4 MiB", "sparse"},
               {"Resources.res", "not a regular file", "pipe"},
               {"Settings.json", "not a regular file", "zero"}};
  for (const auto& [file, reason, kind] : cases) {
    TempDir dir;
    for (const char* name : {"Settings.json", "Resources.res"})
      std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/" + std::string(name), dir.File(name));
    std::string path = dir.File(file);
    if (std::string(kind) == "sparse")
      ASSERT_EQ(truncate(path.c_str(), 50 << 20), 0);
    else if (std::string(kind) == "pipe")
      ASSERT_TRUE(std::filesystem::remove(path) && mkfifo(path.c_str(), 0600) == 0);
    else
      ASSERT_TRUE(std::filesystem::remove(path) && symlink("/dev/zero", path.c_str()) == 0);
    // The time limit only keeps a program that hangs from stopping the tests.
    int result = std::system(("cd '" + dir.Path() + "' && timeout 60 '" + program +
                              "' update </dev/null >out.txt 2>err.txt")
                                 .c_str());
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 1) << reason;
    EXPECT_EQ(dir.Read("err.txt"),
              std::string("Cannot load ") + file + " (" + reason + "); see log.txt for details.\n");
  }
}
