#include "support/LogCapture.h"

#include <algorithm>
#include <new>
#include <regex>
#include <sstream>

#include "app/Logger.h"

LogCapture::LogCapture() : file(nextFile()), logger(new Logger(file)) {}

LogCapture::~LogCapture() {
  delete logger;
}

std::string LogCapture::nextFile() {
  return dir.File("log" + std::to_string(++files) + ".txt");
}

std::vector<std::string> LogCapture::Take() {
  logger->~Logger();
  std::string content = dir.Read(file.substr(dir.Path().size() + 1));
  file = nextFile();
  new (logger) Logger(file);

  static const std::regex stamp("^\\d\\d:\\d\\d:\\d\\d > ");
  std::vector<std::string> lines;
  std::istringstream stream(content);
  std::string line;
  for (bool first = true; std::getline(stream, line); first = false) {
    if (first || line.rfind("Duration: ", 0) == 0)
      continue;
    lines.push_back(std::regex_replace(line, stamp, ""));
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
