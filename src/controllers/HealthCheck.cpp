#include "controllers/HealthCheck.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "controllers/CommandRunner.h"

namespace {

using Clock = std::chrono::steady_clock;

// A new empty file for wget's messages in the temporary folder; "" when none can be made.
std::string newLogFile() {
  std::error_code error;
  std::string pattern =
      (std::filesystem::temp_directory_path(error) / "deployer-health-XXXXXX").string();
  int fd = mkstemp(pattern.data());
  if (fd < 0)
    return "";
  close(fd);
  return pattern;
}

std::string readAll(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

HealthCheck::HealthCheck(std::string url, int timeoutSeconds, bool ignoreCerts)
    : url(std::move(url)), timeoutSeconds(timeoutSeconds), ignoreCerts(ignoreCerts) {}

std::vector<std::string> HealthCheck::Command(int attemptSeconds,
                                              const std::string& logFile) const {
  std::vector<std::string> command = {"wget"};
  if (logFile.empty())
    command.emplace_back("-q");
  else
    command.insert(command.end(), {"-nv", "-S", "-o", logFile});
  command.insert(command.end(),
                 {"-O", "/dev/null", "--timeout=" + std::to_string(attemptSeconds), "-t", "1"});
  if (ignoreCerts)
    command.emplace_back("--no-check-certificate");
  command.push_back(url);
  return command;
}

HealthCheck::Outcome HealthCheck::Wait(const Runner& run, const Stop& stop, Mode mode) const {
  bool once = mode != Mode::Until2xx;
  Outcome outcome;
  Clock::time_point start = Clock::now();
  Clock::time_point deadline = start + std::chrono::seconds(timeoutSeconds);
  std::string logFile = mode == Mode::DryRun ? "" : newLogFile();
  for (int attempt = 0;; ++attempt) {
    Clock::time_point begun = Clock::now();
    auto left = std::chrono::duration_cast<std::chrono::seconds>(deadline - begun).count();
    int attemptSeconds = static_cast<int>(std::clamp<long>(left, 1, ATTEMPT_SECONDS));
    int status = run(Command(attemptSeconds, logFile));
    outcome.seconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count());
    std::string detail = logFile.empty() ? "" : Detail(readAll(logFile));
    outcome.detail = detail.empty() ? CommandRunner::Meaning(status) : detail;
    if (status == 0) {
      outcome.ok = true;
      break;
    }
    Clock::time_point next = begun + std::chrono::seconds(1);
    if (once || stop() || next >= deadline)
      break;
    std::this_thread::sleep_until(next);
  }
  if (!logFile.empty())
    std::remove(logFile.c_str());
  return outcome;
}

std::string HealthCheck::Detail(const std::string& log) {
  std::istringstream lines(log);
  std::string line;
  std::string status;
  std::string last;
  while (std::getline(lines, line)) {
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos)
      continue;
    line = line.substr(start);
    last = line;
    if (line.compare(0, 5, "HTTP/") == 0) {
      size_t code = line.find(' ');
      status = "HTTP " + (code == std::string::npos ? line : line.substr(code + 1));
    }
  }
  return status.empty() ? last : status;
}
