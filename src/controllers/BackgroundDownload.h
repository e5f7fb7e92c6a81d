#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// A download that runs while the action goes on with other steps: the command starts in a process
// group of its own, away from the terminal (standard input from /dev/null), writing its standard
// output and error to a file kept for the log. Ended before its end (Stop, or the destructor), its
// group is killed and the file it was downloading is removed, as is the output file in any case.
class BackgroundDownload {
 public:
  // Starts command, which downloads file, with its output going to outputFile.
  BackgroundDownload(const std::vector<std::string>& command, std::string file,
                     std::string outputFile);
  ~BackgroundDownload();
  BackgroundDownload(const BackgroundDownload&) = delete;
  BackgroundDownload& operator=(const BackgroundDownload&) = delete;

  // False when the command could not be started.
  bool Started() const { return pid > 0; }
  // Waits until the command ends and returns its wait status (as system() reports it). When
  // stopRequested turns true first, the command is stopped and -1 returned.
  int Wait(const std::function<bool()>& stopRequested);
  // Kills the command's group if it still runs and removes its partial file.
  void Stop();
  // What the command wrote; its output file is removed.
  std::string TakeOutput();

 private:
  pid_t pid = -1;
  bool ended = false;
  int status = 0;
  std::string file;
  std::string outputFile;
};
