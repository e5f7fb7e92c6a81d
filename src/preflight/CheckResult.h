#pragma once

#include <string>

// The outcome of one preflight check. The name is the same in every language ("program:wget");
// the detail says where, what was found and, for a failure, what is needed. A warning passes.
struct CheckResult {
  std::string name;
  bool ok = true;
  bool warning = false;
  std::string detail;
};
