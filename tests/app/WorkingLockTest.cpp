#include "app/WorkingLock.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/LockHolder.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

TEST(WorkingLock, AnotherProcessIsRefusedAtOnceAndToldWhoHoldsIt) {
  TempDir dir;
  mode_t before = umask(077);
  LockHolder holder(dir.File(WorkingLock::FILE_NAME), "deploy");
  umask(before);
  ASSERT_GT(holder.Pid(), 0);
  WorkingLock lock(dir.File(WorkingLock::FILE_NAME));
  Clock::time_point start = Clock::now();
  EXPECT_EQ(lock.Take("set"), WorkingLock::Result::Busy);
  EXPECT_LT(secondsSince(start), 0.5);
  WorkingLock::Holder found = lock.ReadHolder();
  EXPECT_EQ(found.pid, std::to_string(holder.Pid()));
  EXPECT_EQ(found.user, getpwuid(geteuid())->pw_name);
  EXPECT_EQ(found.command, "deploy");
  EXPECT_TRUE(std::regex_match(found.since, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")))
      << found.since;
  struct stat info {};
  stat(dir.File(WorkingLock::FILE_NAME).c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0644u);  // whatever the holder's umask
}

// kill -9 leaves no stale lock: the kernel drops it with the process.
TEST(WorkingLock, AWaitEndsAsSoonAsTheHolderIsKilledOrElseAtItsLimit) {
  TempDir dir;
  const struct {
    bool killed;
    double atLeast, below;
    WorkingLock::Result result;
  } cases[] = {{true, 0.2, 1.5, WorkingLock::Result::Taken},
               {false, 0.6, 1.5, WorkingLock::Result::Busy}};
  for (const auto& c : cases) {
    LockHolder holder(dir.File(WorkingLock::FILE_NAME), "deploy");
    std::thread killer([&holder, &c] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (c.killed)
        holder.Kill();
    });
    WorkingLock lock(dir.File(WorkingLock::FILE_NAME));
    Clock::time_point start = Clock::now();
    EXPECT_EQ(lock.Take("set", 0.6), c.result);
    double took = secondsSince(start);
    killer.join();
    EXPECT_GE(took, c.atLeast);
    EXPECT_LT(took, c.below);
    EXPECT_EQ(lock.Held(), c.killed);
  }
}

TEST(WorkingLock, ReleasedByReleaseOrTheDestructorAndNeverThroughALink) {
  TempDir dir;
  std::string path = dir.File(WorkingLock::FILE_NAME);
  WorkingLock second(path);
  {
    WorkingLock first(path);
    ASSERT_EQ(first.Take("set"), WorkingLock::Result::Taken);
    EXPECT_EQ(second.Take("set"), WorkingLock::Result::Busy);
    first.Release();
    EXPECT_EQ(second.Take("set"), WorkingLock::Result::Taken);
    second.Release();
    ASSERT_EQ(first.Take("set"), WorkingLock::Result::Taken);
  }
  EXPECT_EQ(second.Take("set"), WorkingLock::Result::Taken);
  second.Release();

  std::filesystem::remove(path);
  dir.Write("target", "kept");
  std::filesystem::create_symlink(dir.File("target"), path);
  EXPECT_EQ(WorkingLock(path).Take("set"), WorkingLock::Result::Unavailable);
  EXPECT_EQ(dir.Read("target"), "kept");
}
