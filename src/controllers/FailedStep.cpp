#include "controllers/FailedStep.h"

#include <sys/wait.h>

#include "controllers/CommandRunner.h"

namespace {
// wget's documented exit statuses 1 to 8.
const char* const WGET_MEANINGS[] = {"",
                                     "a generic error",
                                     "its options could not be read",
                                     "a file could not be read or written",
                                     "a network failure",
                                     "the certificate could not be verified",
                                     "the user name or password was refused",
                                     "a protocol error",
                                     "the server answered with an error"};
const int REFUSED = -1;
}  // namespace

std::string FailedStep::Description() const {
  if (!Failed())
    return "";
  std::string what = reason.empty() ? program + " " + Meaning(program, status) : reason;
  return (step.empty() ? ": " : " at " + step + ": ") + what;
}

std::string FailedStep::Meaning(const std::string& program, int status) {
  if (status == REFUSED)
    return "refused, since a path begins with \"-\"";
  std::string meaning = CommandRunner::Meaning(status);
  if (program != "wget" || !WIFEXITED(status))
    return meaning;
  int code = WEXITSTATUS(status);
  if (code >= 1 && code <= 8)
    meaning += std::string(", ") + WGET_MEANINGS[code];
  return meaning;
}
