#pragma once

// The program in a tmux pane, started in a working folder prepared from the shipped files:
//
//   TEST_F(EndToEnd, Something) {
//     TmuxPane& pane = Open();                   // waits for the main screen
//     pane.Keys({"Escape"});
//     EXPECT_EQ(pane.Status(), 0);
//   }

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "forms/TmuxPane.h"
#include "support/TempDir.h"

inline const std::string PROGRAM = DEPLOYER_BINARY_DIR "/deployer";
inline const std::string SHARE = DEPLOYER_SOURCE_DIR "/share/";
inline const char* const TITLE = "Web application deployment";
// The first settings button as it looks with the focus.
inline const std::string FOCUSED = "\x1b[1m\x1b[33m\x1b[46m>Container runtime settings";

// A working folder prepared from the shipped files, and the program started in a pane there.
class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxPane::Available() || !std::filesystem::exists(PROGRAM))
      GTEST_SKIP() << "tmux or the program is missing";
    for (const char* name : {"Settings.json", "Resources.res"})
      std::filesystem::copy_file(SHARE + name, dir.File(name));
  }
  // Starts the program and waits for its main screen.
  TmuxPane& Open(const std::string& folder, int width = 100, int height = 30,
                 const std::string& prefix = "", const std::string& wait = TITLE) {
    pane = std::make_unique<TmuxPane>(folder, width, height, prefix);
    pane->Start("'" + program + "'");
    EXPECT_TRUE(pane->WaitFor(wait)) << pane->Screen();
    return *pane;
  }
  TmuxPane& Open() { return Open(dir.Path()); }

  TempDir dir;
  std::unique_ptr<TmuxPane> pane;
  std::string program = PROGRAM;  // the program Open starts
};
