#include "support/LockHolder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/WorkingLock.h"

LockHolder::LockHolder(const std::string& lockPath, const std::string& command) {
  int ready[2];
  if (pipe(ready) != 0)
    return;
  pid = fork();
  if (pid == 0) {
    WorkingLock lock(lockPath);
    bool taken = lock.Take(command) == WorkingLock::Result::Taken;
    (void)!write(ready[1], taken ? "1" : "0", 1);
    for (;;)
      pause();
  }
  close(ready[1]);
  char answer = '0';
  if (pid < 0 || read(ready[0], &answer, 1) != 1 || answer != '1')
    Kill();
  close(ready[0]);
}

LockHolder::~LockHolder() {
  Kill();
}

void LockHolder::Kill() {
  if (pid <= 0)
    return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}
