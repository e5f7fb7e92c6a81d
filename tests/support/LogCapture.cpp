#include "support/LogCapture.h"

#include <algorithm>
#include <sstream>

#include "app/Logger.h"
#include "support/Shape.h"

LogCapture::LogCapture() : logger(new Logger(dir.File("log.txt"))) {}

LogCapture::~LogCapture() {
  delete logger;
}

std::vector<std::string> LogCapture::Take() {
  logger->Flush();
  std::string content = dir.Read("log.txt");
  std::istringstream stream(content.substr(consumed));
  consumed = content.size();
  // Every message begins with a line end, so the first piece is the start line or empty.
  std::vector<std::string> lines;
  std::string line;
  for (bool first = true; std::getline(stream, line); first = false) {
    if (first)
      continue;
    const std::string stamp = "##:##:## > ";
    lines.push_back(MatchesShape(line, stamp, true) ? line.substr(stamp.size()) : line);
  }
  return lines;
}

testing::AssertionResult LogCapture::InOrder(const std::vector<std::string>& lines,
                                             const std::vector<std::string>& expected) {
  auto from = lines.begin();
  for (const std::string& wanted : expected) {
    from = std::find(from, lines.end(), wanted);
    if (from == lines.end()) {
      std::string dump;
      for (const std::string& line : lines)
        dump += "\n  " + line;
      return testing::AssertionFailure() << "missing (in order) \"" << wanted << "\" in:" << dump;
    }
    ++from;
  }
  return testing::AssertionSuccess();
}

int LogCapture::Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}
