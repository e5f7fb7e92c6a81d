#include "forms/CursesTerminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/StopSignals.h"
#include "support/PseudoTerminal.h"
#include "ui/Keys.h"

namespace {

// The program's own terminal on a real pseudo-terminal, as xterm.
class OnPseudoTerminal : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TERM", "xterm", 1);  // each test runs in a process of its own
    pty.UseAsStandardStreams();
    terminal.Open();
  }
  void TearDown() override { Finish(); }
  // Leaves screen mode and gives the standard streams back, so that failures can be printed.
  void Finish() {
    terminal.Close();
    pty.RestoreStandardStreams();
  }
  std::vector<int> Read(int count) {
    std::vector<int> keys;
    for (int i = 0; i < count; ++i)
      keys.push_back(terminal.ReadKey(200));
    return keys;
  }

  PseudoTerminal pty;
  CursesTerminal terminal;
};

TEST_F(OnPseudoTerminal, ReadsKeysKeepsALoneEscapeAndDropsAltKeysAndUnknownSequences) {
  const struct {
    const char* typed;
    std::vector<int> keys;
  } cases[] = {
      {"a", {'a', Terminal::TIMED_OUT}},
      {"\x1bOD", {Keys::Left}},
      {"\x1b", {Keys::Escape, Terminal::TIMED_OUT}},
      {"\x1b\x1b", {Keys::Escape, Keys::Escape}},
      {"\x1bxy", {Terminal::DROPPED, 'y'}},
      {"\x1b[99;5~z", {Terminal::DROPPED, 'z'}},
      {"\x1bO~z", {Terminal::DROPPED, 'z'}},
  };
  std::vector<std::vector<int>> read;
  for (const auto& test : cases) {
    pty.Type(test.typed);
    read.push_back(Read(static_cast<int>(test.keys.size())));
  }
  Finish();
  for (size_t i = 0; i < read.size(); ++i)
    EXPECT_EQ(read[i], cases[i].keys) << cases[i].typed + 1;
}

TEST_F(OnPseudoTerminal, TellsAnInputThatHasEndedFromATimeOut) {
  int before = terminal.ReadKey(0);  // no wait at all
  pty.Hang();
  int after = terminal.ReadKey(1000);
  Finish();
  EXPECT_EQ(before, Terminal::TIMED_OUT);
  EXPECT_EQ(after, Terminal::ENDED);
}

// Write calls this process has made so far; -1 where the system does not count them.
long writeCalls() {
  std::ifstream io("/proc/self/io");
  std::string name;
  long value = 0;
  while (io >> name >> value)
    if (name == "syscw:")
      return value;
  return -1;
}

// Every update reaches the terminal in one write call, the first too: on an ssh link each write
// goes out as a packet of its own.
TEST_F(OnPseudoTerminal, SendsEachUpdateInOneWrite) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer makes write calls of its own";
#endif
  std::vector<long> calls;
  for (int update = 0; update < 2; ++update) {
    for (int row = 0; row < 6; ++row)
      mvaddstr(row * 3 + update, row * 7, "cell");
    long before = writeCalls();
    terminal.Update();
    calls.push_back(writeCalls() - before);
  }
  Finish();
  if (writeCalls() < 0)
    GTEST_SKIP() << "this system does not count write calls";
  EXPECT_EQ(calls, std::vector<long>({1, 1}));
}

// A stop signal caught after the input loop last looked, before the wait began, must not leave
// the window waiting for a key that may never come.
TEST_F(OnPseudoTerminal, AStopSignalCaughtBeforeTheWaitEndsItAtOnce) {
  StopSignals::Catch();
  std::raise(SIGTERM);
  auto start = std::chrono::steady_clock::now();
  int key = terminal.ReadKey(3000);
  auto waited = std::chrono::steady_clock::now() - start;
  StopSignals::Reset();
  std::signal(SIGTERM, SIG_DFL);
  Finish();
  EXPECT_EQ(key, Terminal::TIMED_OUT);
  EXPECT_LT(waited, std::chrono::seconds(2));
}

}  // namespace
