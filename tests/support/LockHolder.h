#pragma once

#include <sys/types.h>

#include <string>

// A process of its own that holds a working folder's lock, taken through WorkingLock for command,
// until it is killed (by Kill or at the latest by the destructor), as a concurrent run would.
class LockHolder {
 public:
  LockHolder(const std::string& lockPath, const std::string& command);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  pid_t Pid() const { return pid; }
  // Kills the holder with SIGKILL and waits for it to end.
  void Kill();

 private:
  pid_t pid = -1;
};
