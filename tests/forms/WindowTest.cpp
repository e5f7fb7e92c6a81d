#include "forms/Window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>

#include "app/StopSignals.h"
#include "controllers/ControllerArguments.h"
#include "events/Handler.h"
#include "forms/ConfirmForm.h"
#include "forms/Form.h"
#include "forms/WindowDesk.h"
#include "ui/Button.h"
#include "ui/Field.h"
#include "ui/Panel.h"

namespace {
const int Enter = 10;
const int Tab = 9;
const int Escape = 27;

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
  EXPECT_EQ(desk.screen.At(1, 2).pair, 5);    // focused check box
  EXPECT_EQ(desk.screen.At(1, 4).pair, 3);    // the other one
  EXPECT_EQ(desk.screen.At(95, 0).pair, 4);   // a button
  EXPECT_EQ(desk.screen.At(80, 25).pair, 6);  // the note
  EXPECT_EQ(desk.screen.At(50, 15).pair, 1);  // the background
}

TEST(Window, MovesTheFocusThroughTheItemsAndWrapsAround) {
  struct Case {
    std::deque<Step> keys;
    const char* active;
  } cases[] = {
      {{Key(Tab)}, "SettingsDockerCEButton"},
      {{Key(KEY_DOWN), Key(KEY_DOWN)}, "WebServerTolmCheck"},
      {{Key(KEY_UP)}, "ExitB"},
      {std::deque<Step>(9, Key(KEY_DOWN)), "DataBaseTypeSelect"},
      {std::deque<Step>(13, Key(Tab)), "SaveButton"},
      {{Key(KEY_UP), Key(KEY_UP), Key(KEY_UP), Key(KEY_UP), Key(KEY_UP)}, "AdditionsButton"},
      {{Key(Tab), Key(Tab), Key(KEY_BTAB), Key(KEY_LEFT), Key('x')}, "SettingsDockerCEButton"},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    desk.Run(c.keys);
    EXPECT_EQ(desk.Active(), c.active);
  }
}

TEST(Window, EnterSwitchesTheCheckBoxAndTheArgumentsCopyIt) {
  WindowDesk desk;
  Window& window = desk.Make({Key(Enter), Click(2, 4), Click(2, 4), Click(2, 4)});
  EXPECT_EQ(window.Show(&desk.version), WindowAction::NO_ACTION);
  EXPECT_EQ(desk.Rows(2, 3), R"(    -Install the container runtime >Container runtime settings

    -Install the web server >Web server settings)");
  ControllerArguments arguments(desk.log.Get(), &desk.resources, &desk.settings, &window);
  EXPECT_FALSE(arguments.InstallDocker());
  EXPECT_FALSE(arguments.InstallWebServer());
}

TEST(Window, DeployUpdateAndEscapeEndTheLoopWithTheirAction) {
  struct Case {
    std::deque<Step> keys;
    int action;
    bool ended = false;  // input ran out first
  } cases[] = {
      {{Click(86, 28)}, WindowAction::DEPLOY},
      {{Click(94, 28)}, WindowAction::UPDATE},
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

TEST(Window, ExitAsksWithYesFocusedAndTabNeverLeavesTheQuestion) {
  WindowDesk desk;
  std::vector<std::string> seen;
  auto note = [&] { seen.push_back(desk.Active()); };
  desk.Run({Key(KEY_UP), Key(Enter), Do(note), Key(Tab), Do(note), Key(Tab), Do(note), Click(2, 2),
            Do(note)});
  EXPECT_EQ(seen,
            (std::vector<std::string>{"ExitConfirmFormApplyButton", "ExitConfirmFormCancelButton",
                                      "ExitConfirmFormApplyButton", "ExitConfirmFormApplyButton"}));
  EXPECT_NE(desk.window->GetModalForm(), nullptr);
}

TEST(Window, AfterACloseTheFocusIsBackAndTheScreenRedrawnBeforeTheEvent) {
  WindowDesk desk;
  std::string active, screenAtEvent;
  Window& window = desk.Make({Key(KEY_UP), Key(Enter), Key(Escape)});
  window.AppendListener(EVENT_MODAL_FORM_CLOSED, new Handler(
                                                     desk.log.Get(),
                                                     [&](Event*) {
                                                       active = desk.Active();
                                                       screenAtEvent = desk.Rows(0, 30);
                                                     },
                                                     false));
  window.Show(&desk.version);
  EXPECT_EQ(active, "ExitB");
  EXPECT_EQ(screenAtEvent.substr(0, top.size()), top);
  EXPECT_EQ(screenAtEvent.find("Do you want"), std::string::npos);
}

TEST(Window, DeleteAsksOnceWithNoFocusedAndTwiceWithUnsavedChanges) {
  struct Case {
    bool modified;
    std::deque<int> answers;  // keys after each question opened
    int action;
  } cases[] = {
      {false, {Enter}, WindowAction::NO_ACTION},
      {false, {Tab, Enter}, WindowAction::DELETE},
      {true, {Tab, Enter, Enter}, WindowAction::NO_ACTION},
      {true, {Tab, Enter, Tab, Enter}, WindowAction::DELETE},
      {true, {Tab, Enter, Escape}, WindowAction::NO_ACTION},
  };
  for (Case& c : cases) {
    WindowDesk desk;
    if (c.modified)
      desk.settings.SetString("Install/Catalog", "changed");
    std::string before = desk.dir.Read("Settings.json");
    std::vector<std::string> focused;  // while a question shows
    Step note = Do([&] {
      if (desk.window->GetModalForm() != nullptr)
        focused.push_back(desk.Active());
    });
    std::deque<Step> script = {Do([&desk] { desk.window->OnDelete(); }), note};
    for (int key : c.answers)
      script.insert(script.end(), {Key(key), note});
    EXPECT_EQ(desk.Run(script), c.action);
    EXPECT_EQ(focused[0], "DeleteConfirmFormCancelButton");
    EXPECT_EQ(focused.size() > 2 ? focused[2] : "",
              c.modified ? "DeleteSettingsChangedConfirmFormCancelButton" : "");
    EXPECT_EQ(desk.window->InputEnded(), c.action == WindowAction::NO_ACTION);
    EXPECT_EQ(desk.dir.Read("Settings.json"), before);
  }
}

TEST(Window, FailedSaveKeepsTheChangesAndTheLoopGoesOn) {
  WindowDesk desk;
  std::string folder = desk.dir.File("gone");
  std::filesystem::create_directory(folder);
  Settings settings(desk.log.Get(), folder + "/Settings.json");
  std::filesystem::copy_file(desk.dir.File("Settings.json"), folder + "/Settings.json");
  settings.Load();
  settings.SetString("Install/Catalog", "changed");
  std::filesystem::remove_all(folder);
  std::string shown;
  ScreenTerminal* terminal = new ScreenTerminal(
      {Click(1, 28), Do([&] { shown = desk.Rows(12, 5); }), Key(Enter), Key(Tab)});
  Window failing(desk.log.Get(), &desk.resources, &settings, terminal);
  EXPECT_EQ(failing.Show(&desk.version), WindowAction::NO_ACTION);
  EXPECT_NE(shown.find("The settings could not be saved."), std::string::npos) << shown;
  EXPECT_TRUE(settings.IsModified());
  EXPECT_EQ(settings.GetString("Install/Catalog"), "changed");
  EXPECT_TRUE(failing.InputEnded());
  EXPECT_EQ(desk.Active(), "DeployButton");
}

namespace {
// A focusable control that records the keys it is offered and fails on "!".
class KeyProbe : public Control {
 public:
  explicit KeyProbe(std::vector<int>* keys)
      : Control(nullptr, "Probe", "KeyProbe", new Position(50, 10), new Size(1, 1), true),
        keys(keys) {}
  void Render() override { rendered = true; }
  Size CalculateSize() override { return Size(1, 1); }
  bool OnKeyPress(int key) override {
    if (key == '!')
      throw "Probe broke";
    keys->push_back(key);
    return key != Escape && key != Tab;
  }

 private:
  std::vector<int>* keys;
};

class ProbeWindow : public Window {
 public:
  using Window::append;
  using Window::Window;
};
}  // namespace

TEST(Window, KeysReachControlsAsOneCodeEach) {
  WindowDesk desk;
  std::vector<int> keys;
  auto* probe = new KeyProbe(&keys);
  ProbeWindow window(desk.log.Get(), &desk.resources, &desk.settings,
                     new ScreenTerminal({Do([probe] { probe->Focus(); }), Key(KEY_BACKSPACE),
                                         Key(8), Key(127), Key(KEY_ENTER), Key('a')}));
  window.append(probe);
  window.Show(&desk.version);
  EXPECT_EQ(keys, (std::vector<int>{127, 127, 127, 10, 'a'}));
}

TEST(Window, AFailingKeyIsShownAndTheLoopGoesOn) {
  WindowDesk desk;
  std::vector<int> keys;
  auto* probe = new KeyProbe(&keys);
  std::vector<std::string> alerts;
  auto noteAlert = Do([&] {
    Form* form = desk.window->GetModalForm();
    alerts.push_back(form ? form->GetName() : "");
  });
  ProbeWindow* window =
      new ProbeWindow(desk.log.Get(), &desk.resources, &desk.settings,
                      new ScreenTerminal({Do([probe] { probe->Focus(); }), Key('!'), noteAlert,
                                          Key(Escape), noteAlert, Key('a')}));
  desk.window.reset(window);
  window->append(probe);
  window->Show(&desk.version);
  EXPECT_EQ(alerts, (std::vector<std::string>{"FailureAlertForm", ""}));
  EXPECT_EQ(keys, (std::vector<int>{'a'}));
  EXPECT_TRUE(window->InputEnded());
}

TEST(Window, TooSmallScreenShowsOnlyTheNoticeUntilEnlarged) {
  std::string notice =
      "The terminal is too small. It needs at least 62x22\nEscape leaves the program.";
  WindowDesk small(80, 21);
  small.Run({Key(Tab), Key(Enter), Click(1, 10), Key(Escape), Key(Tab)});
  EXPECT_EQ(small.Rows(0, 21), notice + std::string(19, '\n'));
  EXPECT_TRUE(small.window->TooSmall());
  EXPECT_FALSE(small.window->InputEnded());
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

// The tallest, the widest and the largest form fit the compact screen whole.
TEST(Window, TheLargestFormsFitEightyByTwentyFour) {
  std::vector<std::function<void(Window&)>> openers = {
      [](Window& w) { w.OnOpenWebServerTolmSettings(); },
      [](Window& w) { w.OnOpenAdditions(); },
      [](Window& w) { w.OnDeleteConfirm(false); },
  };
  for (auto& open : openers) {
    WindowDesk desk(80, 24);
    desk.settings.SetString("Install/Catalog", "changed");
    Area area;
    desk.Run({Do([&] {
      open(*desk.window);
      area = desk.window->GetModalForm()->GetPanel()->GetPrintArea();
    })});
    std::unique_ptr<Position> at(area.GetPosition());
    std::unique_ptr<Size> size(area.GetSize());
    EXPECT_GE(at->x, 0);
    EXPECT_GE(at->y, 0);
    EXPECT_LE(at->x + size->width, 80);
    EXPECT_LE(at->y + size->height, 21);  // clear of the hints and the buttons below
  }
}

TEST(Window, ResizeLaysTheScreenOutAgainAndKeepsTheFocus) {
  WindowDesk desk;
  std::string full, resized, shrunk, enlarged;
  auto resize = [](int height, int width) { return Do([=] { resizeterm(height, width); }); };
  desk.Run({Key(Tab), Do([&] { full = desk.Rows(0, 30); }), resize(28, 90), Key(KEY_RESIZE),
            Do([&] { resized = desk.Rows(0, 1) + "|" + desk.Rows(26, 2); }), resize(9, 70),
            Key(KEY_RESIZE), Key(Enter), Do([&] { shrunk = desk.Rows(0, 3); }), resize(30, 100),
            Key(KEY_RESIZE), Do([&] { enlarged = desk.Rows(0, 30); })});
  EXPECT_EQ(resized, std::string(85, ' ') + ">Exit|>Save" + std::string(70, ' ') +
                         ">Deploy >Update\nVersion 1.24.2.1" + std::string(49, ' ') +
                         "(c) Deployment tools team");
  EXPECT_EQ(shrunk,
            "The terminal is too small. It needs at least 62x22\nEscape leaves the program.\n");
  EXPECT_EQ(enlarged, full);
  EXPECT_EQ(desk.Active(), "SettingsDockerCEButton");
}

TEST(Window, InsertSwitchesTheTypingModeOfTextFields) {
  WindowDesk desk;
  bool before = Field::Insert;
  desk.Run({Key(KEY_IC)});
  EXPECT_EQ(Field::Insert, !before);
  Field::Insert = before;
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
