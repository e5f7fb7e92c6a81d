#pragma once

#include <string>
#include <vector>

#include "preflight/CheckResult.h"

class Resources;

// The results of a preflight as people and programs read them.
class PreflightReport {
 public:
  // One line per failed check in red and per warning in yellow, "NAME: DETAIL", each ending with
  // a newline.
  static std::string Problems(const std::vector<CheckResult>& results);
  // The problems, followed by the line that all passed when none failed.
  static std::string Lines(const std::vector<CheckResult>& results, Resources* resources,
                           const std::string& action);
  // {"action": ACTION, "checks": [{"detail": ..., "name": ..., "ok": ...}, ...], "ok": BOOL},
  // on one line, the names the same in every language.
  static std::string Json(const std::vector<CheckResult>& results, const std::string& action);
  // The checks an action would make as comment lines of a dry run: "# check NAME WHERE".
  static std::string Comments(const std::vector<std::string>& planned);
};
