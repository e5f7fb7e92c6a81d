#include "controllers/DryRunner.h"

#include <cstdio>

#include "controllers/Shell.h"

CommandRunner::Result DryRunner::Run(const std::vector<std::string>& words) {
  std::string line = Shell::Line(words) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  return {0, "not run: dry run"};
}
