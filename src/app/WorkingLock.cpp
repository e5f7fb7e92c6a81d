#include "app/WorkingLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>
#include <thread>

#include "util/Descriptor.h"

const char* const WorkingLock::FILE_NAME = ".deployer.lock";

namespace {

const int FLAGS = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
const size_t RECORD_LIMIT = 4096;

std::string userName() {
  struct passwd* entry = getpwuid(geteuid());
  return entry != nullptr ? entry->pw_name : std::to_string(geteuid());
}

std::string now() {
  std::time_t seconds = std::time(nullptr);
  struct tm parts {};
  gmtime_r(&seconds, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

// The lock file for reading and writing; for reading alone where it is another user's (flock
// needs no write access). A new file gets mode 0644 whatever the umask, so that others can read
// who holds it.
int openLockFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | FLAGS, 0644);
  if (fd >= 0) {
    ::fchmod(fd, 0644);
    return fd;
  }
  if (errno != EEXIST)
    return -1;
  fd = ::open(path.c_str(), O_RDWR | FLAGS);
  if (fd < 0 && errno == EACCES)
    fd = ::open(path.c_str(), O_RDONLY | FLAGS);
  return fd;
}

}  // namespace

std::string WorkingLock::Holder::Describe(const std::string& sinceWord,
                                          const std::string& unknown) const {
  if (pid.empty())
    return unknown;
  return "pid " + pid + " (" + user + ", " + command + ")" + sinceWord + since;
}

WorkingLock::WorkingLock(std::string path) : path(std::move(path)) {}

WorkingLock::~WorkingLock() {
  Release();
  if (fd >= 0)
    ::close(fd);
}

WorkingLock::Result WorkingLock::Take(const std::string& command, double waitSeconds) {
  if (held)
    return Result::Taken;
  Result result = acquire(waitSeconds);
  if (result == Result::Taken) {
    held = true;
    record(command);
  }
  return result;
}

WorkingLock::Result WorkingLock::Check(double waitSeconds) {
  if (held)
    return Result::Taken;
  Result result = acquire(waitSeconds);
  if (result == Result::Taken)
    ::flock(fd, LOCK_UN);
  return result;
}

WorkingLock::Result WorkingLock::acquire(double waitSeconds) {
  if (fd < 0 && !open())
    return Result::Unavailable;
  auto deadline = std::chrono::steady_clock::now() +
                  std::chrono::milliseconds(static_cast<long long>(waitSeconds * 1000));
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR)
      continue;
    if (errno != EWOULDBLOCK) {
      error = std::strerror(errno);
      return Result::Unavailable;
    }
    auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
      return Result::Busy;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        left, std::chrono::milliseconds(POLL_MILLISECONDS)));
  }
  return Result::Taken;
}

// The record goes first, so that a free lock records no one.
void WorkingLock::Release() {
  if (!held)
    return;
  (void)!::ftruncate(fd, 0);  // fails only on a file opened for reading alone
  ::flock(fd, LOCK_UN);
  held = false;
}

bool WorkingLock::open() {
  fd = openLockFile(path);
  struct stat info {};
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd);
    fd = -1;
    errno = EINVAL;
  }
  if (fd < 0) {
    planted = errno == EINVAL || errno == ELOOP;
    error = planted ? "a symbolic link or not a regular file" : std::strerror(errno);
  }
  return fd >= 0;
}

// The holder's record replaces the last one; a file opened for reading alone keeps the old one.
void WorkingLock::record(const std::string& command) {
  std::string text = "pid=" + std::to_string(::getpid()) + "\nuser=" + userName() +
                     "\ncommand=" + command + "\nsince=" + now() + "\n";
  if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0)
    Descriptor::WriteAll(fd, text);
}

WorkingLock::Holder WorkingLock::ReadHolder() const {
  Holder holder;
  int file = ::open(path.c_str(), O_RDONLY | FLAGS);
  if (file < 0)
    return holder;
  char buffer[RECORD_LIMIT];
  ssize_t length = ::read(file, buffer, sizeof buffer);
  ::close(file);
  std::istringstream lines(std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0));
  for (std::string line; std::getline(lines, line);) {
    size_t equals = line.find('=');
    if (equals == std::string::npos)
      continue;
    std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (key == "pid")
      holder.pid = value;
    else if (key == "user")
      holder.user = value;
    else if (key == "command")
      holder.command = value;
    else if (key == "since")
      holder.since = value;
  }
  auto pid = static_cast<pid_t>(std::atol(holder.pid.c_str()));
  if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
    return Holder();  // left by a run that was killed
  return holder;
}
