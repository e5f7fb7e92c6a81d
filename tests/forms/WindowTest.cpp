#include "forms/Window.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "app/StopSignals.h"
#include "forms/ConfirmForm.h"
#include "forms/Form.h"
#include "forms/WindowDesk.h"
#include "support/PseudoTerminal.h"
#include "support/TempDir.h"

namespace {

std::string top =
    R"(                                                                                               >Exit
                                     Web application deployment
  ◆ -Install the container runtime >Container runtime settings

  ◆ -Install the web server >Web server settings

 ┌Application──────────────────────────────────────────────┐
 │Patch version    24.2.0.0     >Patch settings            │
 │                                                         │
 │Application port     8090 >Install settings              │
 │                                                         │
 │Catalogue        /var/lib/vaq/catalog                    │
 └─────────────────────────────────────────────────────────┘

 ┌Database connection─────────────────────────────────────┐
 │Database type   <PostgreSQL>                            │
 │                                                        │
 │Database server localhost                               │
 │                                                        │
 │Database name   vaq_app                                 │
 └────────────────────────────────────────────────────────┘

 >Additions)";

std::string bottom =
    R"(                                                                          Deploy, update and delete
                                                                          need administrator rights.

>Save                                                                                >Deploy >Update
Version 1.24.2.1                                                           (c) Deployment tools team)";

}  // namespace

TEST(Window, DrawsTheMainScreenWithTheFirstCheckBoxFocused) {
  WindowDesk desk;
  desk.Run({});
  EXPECT_EQ(desk.Rows(0, 23), top);
  EXPECT_EQ(desk.Rows(23, 2), "\n");
  EXPECT_EQ(desk.Rows(25, 5), bottom);
  EXPECT_EQ(desk.screen.At(1, 2).pair, 5);  // focused check box
}

TEST(Window, MovesTheFocusThroughTheItemsAndWrapsAround) {
  struct Case {
    std::deque<Step> keys;
    const char* active;
  } cases[] = {
      {{Key(Tab)}, "SettingsDockerCEButton"},
      {{Key(KEY_DOWN), Key(KEY_DOWN)}, "WebServerTolmCheck"},
      {{Key(KEY_UP)}, "ExitB"},
      {{Key(Tab), Key(Tab), Key(KEY_BTAB), Key(KEY_LEFT), Key('x')}, "SettingsDockerCEButton"},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    desk.Run(c.keys);
    EXPECT_EQ(desk.Active(), c.active);
  }
}

TEST(Window, DeployUpdateAndEscapeEndTheLoopWithTheirAction) {
  struct Case {
    std::deque<Step> keys;
    int action;
    bool ended = false;  // input ran out first
  } cases[] = {
      {{Click(86, 28)}, WindowAction::DEPLOY},
      {{Key(KEY_UP), Key(KEY_UP), Key(Enter), Key('x')}, WindowAction::UPDATE},
      {{Click(50, 15), Click(86, 28, BUTTON3_CLICKED)}, WindowAction::NO_ACTION, true},
      {{Key(Escape), Key(Enter)}, WindowAction::NO_ACTION},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    EXPECT_EQ(desk.Run(c.keys), c.action);
    EXPECT_EQ(desk.window->InputEnded(), c.ended);
  }
}

// Below the full layout's size the blank rows between the blocks go and the title moves up.
TEST(Window, ASmallTerminalGetsTheCompactLayoutWithEveryControl) {
  WindowDesk desk(80, 24);
  desk.Run({Key(Tab)});
  EXPECT_TRUE(desk.window->Compact());
  EXPECT_EQ(desk.Rows(0, 3),
            std::string(27, ' ') + R"(Web application deployment                      >Exit
  ◆ -Install the container runtime >Container runtime settings
  ◆ -Install the web server >Web server settings)");
  EXPECT_EQ(desk.Rows(17, 1), " >Additions");
  EXPECT_EQ(desk.Rows(21, 3), R"(Tab, Shift-Tab, Up, Down: move  Escape: quit  Enter: press
>Save                                                            >Deploy >Update
Version 1.24.2.1                                       (c) Deployment tools team)");
}

// Unsaved changes are not dropped by Escape: it asks as Exit does, and its No keeps the window.
TEST(Window, EscapeWithUnsavedChangesAsksFirst) {
  WindowDesk desk;
  std::string shown;
  auto edit = Do([&desk] { desk.settings.SetInteger("WebServer/Port", 8081); });
  desk.Run({edit, Key(Escape), Do([&] { shown = desk.window->GetModalForm()->GetName(); }),
            Key(Tab), Key(Enter), Key(Escape)});
  EXPECT_EQ(shown, "ExitConfirmForm");
  EXPECT_TRUE(desk.window->InputEnded());  // No kept it open until the keys ran out
}

// A stop signal ends the loop at its next pass, without an action.
TEST(Window, AStopSignalEndsTheLoop) {
  WindowDesk desk;
  EXPECT_EQ(desk.Run({Do([] { StopSignals::Handle(SIGTERM); }), Click(86, 28)}),
            WindowAction::NO_ACTION);
  EXPECT_FALSE(desk.window->InputEnded());
  EXPECT_TRUE(LogCapture::InOrder(desk.log.Take(), {"Window::processing stopped by signal 15."}));
  StopSignals::Reset();
}

// Whatever a form callback throws, the administrator sees the failure alert.
TEST(Window, EveryKindOfFailureInACallbackShowsTheFailureAlert) {
  const std::function<void()> throwers[] = {
      [] { throw "broke"; },
      [] { throw std::string("broke"); },
      [] { throw std::runtime_error("broke"); },
      [] { throw 42; },
  };
  for (const auto& thrower : throwers) {
    WindowDesk desk;
    std::string alert;
    desk.Run({Do([&] {
                desk.window->showModalForm(
                    new ConfirmForm(desk.log.Get(), &desk.resources, &desk.settings,
                                    desk.window.get(), "BrokenForm", "", "?", thrower, nullptr));
              }),
              Key(Enter), Do([&] {
                Form* shown = desk.window->GetModalForm();
                alert = shown ? shown->GetName() : "";
              })});
    EXPECT_EQ(alert, "FailureAlertForm");
  }
}

// On a slow serial console every byte counts: a focus move sends the two controls that change
// look (and the key hints where their text changed), not rows or the screen around them. The
// bounds are what curses needs for that on xterm-256color: every update starts and ends in the
// plain look (43 bytes of colour and attribute switches for the two looks), two cursor moves and
// the cells themselves; one cell more or one redundant switch fails. Frame lines go out as
// Unicode characters, never through the terminal's line-drawing character set.
TEST(Window, SendsOnlyTheChangedCellsForAFocusMove) {
  const std::string program = DEPLOYER_BINARY_DIR "/deployer";
  if (!std::filesystem::exists(program))
    GTEST_SKIP() << "the program is missing";
  const struct {
    int columns, rows;
    size_t bound;  // bytes of the middle of three focus moves from the first control
  } sizes[] = {{100, 30, 88}, {80, 24, 123}};  // the smaller one with the key hints
  for (const auto& size : sizes) {
    TempDir dir;
    for (const char* name : {"Settings.json", "Resources.res"})
      std::filesystem::copy_file(std::string(DEPLOYER_SOURCE_DIR "/share/") + name, dir.File(name));
    PseudoTerminal pty;
    pty.SetSize(size.columns, size.rows);
    pid_t pid = pty.Start({program}, dir.Path());
    std::string frame = pty.ReadUntilQuiet(300);
    std::vector<size_t> tabs;
    for (int i = 0; i < 3; ++i) {
      pty.Type("\t");
      tabs.push_back(pty.ReadUntilQuiet(300).size());
    }
    pty.Type("\x1b");
    int status = 0;
    waitpid(pid, &status, 0);
    std::vector<size_t> sorted = tabs;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NE(frame.find("Web application deployment"), std::string::npos);
    EXPECT_EQ(frame.find("\x1b(0"), std::string::npos);
    EXPECT_LE(sorted[1], size.bound) << size.columns << "x" << size.rows << ": " << tabs[0] << " "
                                     << tabs[1] << " " << tabs[2] << " bytes";
  }
}

// Too small for any layout, the window shows what it needs and how to leave, and Escape ends it.
TEST(Window, ATerminalTooSmallForEveryLayoutShowsTheSizeItNeeds) {
  WindowDesk desk(60, 20);
  EXPECT_EQ(desk.Run({Key(Tab), Key(Escape)}), WindowAction::NO_ACTION);
  EXPECT_EQ(desk.Rows(0, 3),
            "The terminal is too small. It needs at least 62x22\n"
            "Escape leaves the program.\n");
}
