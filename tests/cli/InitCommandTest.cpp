#include "cli/InitCommand.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/TempDir.h"

TEST(InitCommand, CopiesTheSettingsAndTheTextsOfTheChosenLanguage) {
  TempDir dir, shipped;
  std::ostringstream out, err;
  EXPECT_EQ(InitCommand::Run(dir.File("new/app"), "en", out, err), 0) << err.str();
  for (const char* name : {"Settings.json", "Resources.res"}) {
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/" + std::string(name),
                               shipped.File(name));
    EXPECT_EQ(dir.Read("new/app/" + std::string(name)), shipped.Read(name)) << name;
  }
}

TEST(InitCommand, RefusesToReplaceAnyFileEvenADanglingLinkAndChangesNothing) {
  for (bool dangling : {false, true}) {
    TempDir dir;
    if (dangling)
      std::filesystem::create_symlink(dir.File("nowhere"), dir.File("Resources.res"));
    else
      dir.Write("Settings.json", "mine");
    std::string present = dir.File(dangling ? "Resources.res" : "Settings.json");
    std::ostringstream out, err;
    EXPECT_EQ(InitCommand::Run(dir.Path(), "ru", out, err), 2);
    EXPECT_EQ(err.str(), "deployer init: " + present + " already exists; nothing was changed.\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    if (!dangling) {
      EXPECT_EQ(dir.Read("Settings.json"), "mine");
    }
  }
}

TEST(InitCommand, AProgramAwayFromItsDefaultsSaysSoWithStatusOne) {
  TempDir dir;
  std::filesystem::copy_file(DEPLOYER_BINARY_DIR "/deployer", dir.File("deployer"));
  int status = std::system((dir.File("deployer") + " -C " + dir.File("app") + " init 2>" +
                            dir.File("err") + " </dev/null")
                               .c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(dir.Read("err"),
            "deployer init: the default files were not found in ../share/deployer beside the "
            "program.\n");
}
