#include "controllers/CommandRunner.h"

#include <sys/wait.h>

#include <algorithm>

std::string CommandRunner::Meaning(int status) {
  if (WIFEXITED(status))
    return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status))
    return "killed by signal " + std::to_string(WTERMSIG(status));
  return "wait status " + std::to_string(status);
}

std::vector<std::string> CommandRunner::LastLines(const std::string& output, size_t count) {
  std::vector<std::string> lines;
  size_t end = output.size();
  while (end > 0 && lines.size() < count) {
    size_t start = output.rfind('\n', end - 1);
    start = start == std::string::npos ? 0 : start + 1;
    std::string line = output.substr(start, end - start);
    end = start > 0 ? start - 1 : 0;
    while (!line.empty() && line.back() == '\r')
      line.pop_back();
    line.erase(0, line.rfind('\r') + 1);  // npos + 1: nothing
    for (char& c : line)
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f)
        c = '?';
    if (line.find_first_not_of(" \t") != std::string::npos)
      lines.push_back(line);
  }
  std::reverse(lines.begin(), lines.end());
  return lines;
}
