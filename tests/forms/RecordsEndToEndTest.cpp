// The log of the whole program killed at any moment in a terminal.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "forms/EndToEnd.h"

namespace {

// The log without its start line and time stamps: one "> message" per line.
std::string messages(const std::string& log) {
  std::istringstream lines(log);
  std::string line, result;
  std::getline(lines, line);  // the start line
  while (std::getline(lines, line)) {
    bool stamped =
        line.size() >= 11 && line[2] == ':' && line[5] == ':' && line.compare(8, 3, " > ") == 0;
    result += "\n" + (stamped ? "> " + line.substr(11) : line);
  }
  return result;
}

bool exists(const std::string& path) {
  return std::filesystem::exists(std::filesystem::symlink_status(path));
}

ino_t inode(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_ino;
}

std::string readIfAny(const TempDir& dir, const std::string& name) {
  return exists(dir.File(name)) ? dir.Read(name) : "";
}

}  // namespace

TEST_F(EndToEnd, KillAtAnyMomentKeepsTheLogWrittenSoFarAndThePreviousLog) {
  TmuxPane& pane = Open();
  pane.Keys({"Escape"});
  ASSERT_EQ(pane.Status(), 0);
  std::string reference = messages(dir.Read("log.txt"));
  const std::string shown = "\n> Control UpdateButton of type Button was created.";
  ASSERT_NE(reference.find(shown), std::string::npos) << reference;

  std::random_device seed;
  unsigned seedValue = seed();
  std::mt19937 random(seedValue);
  std::uniform_int_distribution<int> delay(0, 150);
  int logged = 0;
  for (int run = 0; run < 50; ++run) {
    SCOPED_TRACE("run " + std::to_string(run) + " seed " + std::to_string(seedValue));
    std::string previous = dir.Read("log.txt");
    ino_t previousInode = inode(dir.File("log.txt"));
    // The log that a start moves aside, and so the one log.txt.1 holds afterwards.
    std::string aside = exists(dir.File("log.txt")) ? previous : readIfAny(dir, "log.txt.1");
    std::filesystem::remove(dir.File("pid"));
    pane.Start("sh -c 'echo $$ >pid.new && mv pid.new pid && exec \"$0\"' '" + PROGRAM + "'");
    ASSERT_TRUE(pane.WaitForScreen([&](const std::string&) { return exists(dir.File("pid")); }));
    bool waitForScreen = run % 5 == 0;
    if (waitForScreen) {
      ASSERT_TRUE(pane.WaitFor(TITLE)) << pane.Screen();
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
    }
    ASSERT_EQ(kill(std::stoi(dir.Read("pid")), SIGKILL), 0);
    ASSERT_EQ(pane.Status(), 128 + SIGKILL) << pane.Screen();

    std::string log = readIfAny(dir, "log.txt");
    bool started = inode(dir.File("log.txt")) != previousInode;
    if (!waitForScreen &&
        (!started || (!exists(dir.File("log.txt")) && readIfAny(dir, "log.txt.1") == aside)))
      continue;  // killed before the log was started, or while its first line was being written
    EXPECT_EQ(log.rfind("Started at ", 0), 0u) << log;
    EXPECT_EQ(readIfAny(dir, "log.txt.1"), aside);
    std::string kept = messages(log);
    EXPECT_EQ(reference.compare(0, kept.size(), kept), 0) << kept;
    if (waitForScreen) {
      EXPECT_GE(kept.size(), reference.find(shown) + shown.size()) << kept;
    }
    ++logged;
  }
  EXPECT_GE(logged, 25) << "most kills should come while the program runs";
}
