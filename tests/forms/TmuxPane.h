#pragma once

// The program in a tmux pane of its own server, for end-to-end tests:
//
//   TmuxPane pane(folder);                       // a shell in folder, 100 x 30
//   pane.Start(program);                         // runs it; the shell then prints STATUS=<code>
//   ASSERT_TRUE(pane.WaitFor("Web application deployment"));
//   pane.Keys({"Tab"});                         // tmux key names
//   pane.Screen(); pane.Screen(true);            // the pane's text, with colours when asked
//   EXPECT_EQ(pane.Status(), 0);                 // waits for the program to end
//
// Waiting polls the pane until a deadline instead of sleeping fixed times. Every deadline is
// multiplied by DEPLOYER_TEST_WAIT_FACTOR (a number above 0, 1 when unset) for slow machines;
// the default ones allow for a loaded two-core machine, and cost nothing when the screen comes.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class TmuxPane {
 public:
  explicit TmuxPane(const std::string& folder, int width = 100, int height = 30,
                    const std::string& prefix = "");
  ~TmuxPane();
  TmuxPane(const TmuxPane&) = delete;
  TmuxPane& operator=(const TmuxPane&) = delete;

  static bool Available();
  // Types the command line and Enter; the shell prints STATUS=<code> after it.
  void Start(const std::string& commandLine);
  void Keys(const std::vector<std::string>& keys);
  void Resize(int width, int height);
  // Ends the tmux server: the program sees its terminal hang up and may run on until the
  // destructor ends whatever is left in the pane's session.
  void HangUp();
  std::string Screen(bool colours = false);
  std::string Format(const std::string& format);
  long ShellPid() const { return shellPid; }
  bool WaitFor(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(30));
  bool WaitForScreen(const std::function<bool(const std::string&)>& test,
                     std::chrono::milliseconds limit = std::chrono::seconds(30));
  // The exit status printed by the shell, -1 when none came in time.
  int Status(std::chrono::milliseconds limit = std::chrono::seconds(30));
  // A wait's limit times the factor of DEPLOYER_TEST_WAIT_FACTOR.
  static std::chrono::milliseconds Scaled(std::chrono::milliseconds limit);

 private:
  std::string tmux(const std::string& arguments);

  std::string socket;
  long shellPid = 0;  // the pane's shell, leader of the session the program runs in
};
