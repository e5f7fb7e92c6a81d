#include "app/Logger.h"

#include "util/DateTime.h"

Logger::Logger(std::string fileName)
    : fileName(fileName), stream(fileName, std::ios::out | std::ios::trunc), start(new DateTime()) {
  stream << "Started at " << start->ToString();
}

Logger::~Logger() {
  DateTime end;
  stream << "\nDuration: " << end.GetSpanSeconds(start) << " sec.";
  delete start;
  stream.close();
}

void Logger::Write(std::string message) {
  if (!stream) {
    return;
  }
  DateTime now;
  int64_t second = now.GetSpanSeconds(start);
  if (second != timeSecond) {
    timeSecond = second;
    timeText = now.GetTimeString();
  }
  stream << '\n' << timeText << " > " << message;
}

void Logger::Flush() {
  stream.flush();
}
