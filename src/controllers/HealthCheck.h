#pragma once

#include <functional>
#include <string>
#include <vector>

// Asks the application's health address with wget, as a command and never through a shell,
// about once a second until it answers with a 2xx status or the time is up.
class HealthCheck {
 public:
  struct Outcome {
    bool ok = false;
    int seconds = 0;     // how long it took
    std::string detail;  // the last status or error: "HTTP 500", "Connection refused."
  };
  // Runs one command and returns its wait status, as Controller::run does.
  using Runner = std::function<int(const std::vector<std::string>&)>;
  // True when the waiting must end (a stop signal).
  using Stop = std::function<bool()>;

  // Until2xx asks until a 2xx answer or the timeout; Once asks a single time; DryRun asks once
  // with the quiet command, which names no file of messages.
  enum class Mode { Until2xx, Once, DryRun };

  HealthCheck(std::string url, int timeoutSeconds, bool ignoreCerts);

  Outcome Wait(const Runner& run, const Stop& stop, Mode mode) const;
  // The request with at most attemptSeconds to answer, its messages and the server's answer
  // written to logFile (none: quiet).
  std::vector<std::string> Command(int attemptSeconds, const std::string& logFile) const;
  // The answer's status line ("HTTP 500") or, without one, the last line of the log.
  static std::string Detail(const std::string& log);

 private:
  static constexpr int ATTEMPT_SECONDS = 5;

  std::string url;
  int timeoutSeconds;
  bool ignoreCerts;
};
