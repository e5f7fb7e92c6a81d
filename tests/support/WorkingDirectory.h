#pragma once

#include <string>

// Makes a folder the process's working directory for its lifetime and restores the earlier one.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& folder);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::string previous;
};
