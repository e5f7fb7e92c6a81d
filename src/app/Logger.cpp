#include "app/Logger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/DateTime.h"

namespace {

const char* const PREVIOUS_SUFFIX = ".1";

// A fresh file of that name, never written through a symbolic link: an existing entry of any
// kind is first renamed to the previous log's name. When that rename is not possible (a folder
// that is not writable), an existing regular file is truncated in place instead.
int createFresh(const std::string& name) {
  struct stat info;
  if (::lstat(name.c_str(), &info) == 0)
    ::rename(name.c_str(), (name + PREVIOUS_SUFFIX).c_str());
  const int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(name.c_str(), flags | O_CREAT | O_EXCL, 0666);
  if (fd < 0 && errno == EEXIST)
    fd = ::open(name.c_str(), flags);
  if (fd < 0)
    return -1;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The length of the longest start of value within limit that does not split a UTF-8 character.
size_t cutPoint(const std::string& value, size_t limit) {
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
    cut--;
  return cut;
}

}  // namespace

Logger::Logger(std::string fileName) : fileName(fileName), start(new DateTime()) {
  if (!this->fileName.empty())
    open();
}

Logger::~Logger() {
  DateTime end;
  put("\nDuration: " + std::to_string(end.GetSpanSeconds(start)) + " sec.");
  delete start;
  if (fd >= 0)
    ::close(fd);
}

void Logger::open() {
  fd = createFresh(fileName);
  put("Started at " + start->ToString());
}

void Logger::Write(std::string message) {
  if (fd < 0)
    return;
  DateTime now;
  int64_t second = now.GetSpanSeconds(start);
  if (second != timeSecond) {
    timeSecond = second;
    timeText = now.GetTimeString();
  }
  put("\n" + timeText + " > " + message);
}

void Logger::Flush() {}

std::string Logger::Excerpt(const std::string& value) {
  if (value.size() <= VALUE_LIMIT)
    return value;
  return value.substr(0, cutPoint(value, VALUE_LIMIT)) + "... (" + std::to_string(value.size()) +
         " bytes)";
}

// One write call per message, so that each line reaches the file whole or not at all.
void Logger::put(const std::string& text) {
  size_t done = 0;
  while (fd >= 0 && done < text.size()) {
    ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return;
    done += static_cast<size_t>(written);
  }
}
