#include "forms/TmuxPane.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "controllers/Shell.h"

namespace {
int counter = 0;
}  // namespace

TmuxPane::TmuxPane(const std::string& folder, int width, int height, const std::string& prefix)
    : socket("deployer-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter)) {
  std::string shell = prefix +
                      "env -i PATH=\"$PATH\" HOME=\"$HOME\" TERM=screen LANG=C.UTF-8 "
                      "PS1='$ ' bash --norc --noprofile";
  tmux("new-session -d -x " + std::to_string(width) + " -y " + std::to_string(height) + " -c " +
       Shell::Word(folder) + " " + Shell::Word(shell));
  tmux("set-option -g status off");
  WaitFor("$");
  shellPid = std::atol(Format("#{pane_pid}").c_str());
}

// Whatever still runs in the pane's session (after a failed test or a hang-up) is ended too.
TmuxPane::~TmuxPane() {
  HangUp();
  if (shellPid > 0)
    std::system(("pkill -KILL -s " + std::to_string(shellPid)).c_str());
}

void TmuxPane::HangUp() {
  tmux("kill-server");
}

bool TmuxPane::Available() {
  return std::system("tmux -V >/dev/null 2>&1") == 0;
}

std::string TmuxPane::tmux(const std::string& arguments) {
  std::string command = "tmux -L " + socket + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return "";
  std::string output;
  std::array<char, 4096> buffer;
  size_t count;
  while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    output.append(buffer.data(), count);
  pclose(pipe);
  return output;
}

void TmuxPane::Start(const std::string& commandLine) {
  tmux("send-keys -l " + Shell::Word("clear; " + commandLine + "; echo STATUS=$?"));
  tmux("send-keys Enter");
}

void TmuxPane::Keys(const std::vector<std::string>& keys) {
  for (const std::string& key : keys)
    tmux("send-keys " + key);
}

void TmuxPane::Resize(int width, int height) {
  tmux("resize-window -x " + std::to_string(width) + " -y " + std::to_string(height));
}

std::string TmuxPane::Screen(bool colours) {
  return tmux(std::string("capture-pane -p") + (colours ? " -e" : ""));
}

std::string TmuxPane::Format(const std::string& format) {
  return tmux("display-message -p " + Shell::Word(format));
}

bool TmuxPane::WaitForScreen(const std::function<bool(const std::string&)>& test,
                             std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + Scaled(limit);
  while (true) {
    if (test(Screen()))
      return true;
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool TmuxPane::WaitFor(const std::string& text, std::chrono::milliseconds limit) {
  return WaitForScreen(
      [&text](const std::string& screen) { return screen.find(text) != std::string::npos; }, limit);
}

int TmuxPane::Status(std::chrono::milliseconds limit) {
  int status = -1;
  auto ended = [&status](const std::string& screen) {
    for (size_t at = screen.find("STATUS="); at != std::string::npos;
         at = screen.find("STATUS=", at + 1))
      if (std::sscanf(screen.c_str() + at, "STATUS=%d", &status) == 1)
        return true;
    return false;
  };
  WaitForScreen(ended, limit);
  return status;
}

std::chrono::milliseconds TmuxPane::Scaled(std::chrono::milliseconds limit) {
  const char* text = std::getenv("DEPLOYER_TEST_WAIT_FACTOR");
  double factor = text != nullptr ? std::atof(text) : 1;
  if (!(factor > 0))
    factor = 1;
  return std::chrono::milliseconds(static_cast<long long>(limit.count() * factor));
}
