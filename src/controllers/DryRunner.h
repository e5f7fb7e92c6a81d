#pragma once

#include "controllers/CommandRunner.h"

// Runs nothing: prints the command on standard output as one bash line (Shell::Line) and reports
// success, so that an action shows every command it would run.
class DryRunner : public CommandRunner {
 public:
  Result Run(const std::vector<std::string>& words) override;
};
