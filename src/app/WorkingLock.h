#pragma once

#include <string>

// The lock of one working folder, so that one run at a time changes the folder or the server: an
// exclusive flock on the lock file, which the kernel drops when the process ends, however it ends,
// so a killed run leaves no stale lock. The file itself stays; while the lock is held it records
// the holder (pid, user, command, start time) for the messages of those that find it taken, and
// is emptied when the lock is released. Released by Release() or the destructor.
class WorkingLock {
 public:
  static const char* const FILE_NAME;     // ".deployer.lock", in the working folder
  static constexpr int BUSY_STATUS = 75;  // the exit status of a run that found the lock taken
  static constexpr int POLL_MILLISECONDS = 100;

  enum class Result {
    Taken,
    Busy,        // another process holds it
    Unavailable  // the lock file cannot be opened (see Error); the caller goes on without it
  };

  // Who holds the lock, as its file records it; empty fields when it records nothing readable.
  struct Holder {
    std::string pid;
    std::string user;
    std::string command;
    std::string since;  // UTC, as 2026-12-07T18:00:00Z

    // "pid 123 (root, deploy)" + sinceWord + since; unknown when nothing is recorded.
    std::string Describe(const std::string& sinceWord = " since ",
                         const std::string& unknown = "another process") const;
  };

  // The lock file at path; nothing is opened or taken yet.
  explicit WorkingLock(std::string path);
  ~WorkingLock();
  WorkingLock(const WorkingLock&) = delete;
  WorkingLock& operator=(const WorkingLock&) = delete;

  // Takes the lock for command, trying again every POLL_MILLISECONDS for up to waitSeconds, and
  // records the holder. Taking it while held is Taken at once.
  Result Take(const std::string& command, double waitSeconds = 0);
  // Waits as Take does until no other process holds the lock, and leaves it free without
  // recording anything: Taken means the folder was free a moment ago.
  Result Check(double waitSeconds = 0);
  void Release();
  bool Held() const { return held; }
  // The holder the lock file records now; takes nothing. A record of a process that is gone
  // (killed while it held the lock) counts as none.
  Holder ReadHolder() const;
  // Why the lock file could not be opened.
  const std::string& Error() const { return error; }
  // True when the lock file could not be opened because something else stands at its name (a
  // symbolic link, a folder, a device): never to be gone around, unlike a folder that cannot be
  // written, where a run goes on without the lock.
  bool Planted() const { return planted; }

 private:
  bool open();
  Result acquire(double waitSeconds);  // the flock, waited for; held and the record untouched
  void record(const std::string& command);

  std::string path;
  int fd = -1;
  bool held = false;
  bool planted = false;
  std::string error;
};
