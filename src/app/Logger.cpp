#include "app/Logger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/DateTime.h"
#include "util/Descriptor.h"
#include "util/Path.h"

namespace {

const char* const PREVIOUS_SUFFIX = ".1";

// An unnamed file in the log's folder that already holds the first text; -1 where the file
// system offers none.
int prepared(const std::string& name, const std::string& first) {
  int fd = ::open(Path::GetFolder(name).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd >= 0 && !Descriptor::WriteAll(fd, first)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Gives the prepared file its name; fails when anything has that name.
bool publish(int fd, const std::string& name) {
  std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A new file of that name, created exclusively, or else an existing regular file truncated in
// place (a folder that allows no rename); never a symbolic link followed.
int created(const std::string& name) {
  const int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = ::open(name.c_str(), flags | O_CREAT | O_EXCL, 0666);
  if (fd < 0 && errno == EEXIST)
    fd = ::open(name.c_str(), flags);
  struct stat info;
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The log of the run before goes to the previous log's name. The older one there is removed
// first: a rename over an existing file makes some file systems (ext4) start writing the renamed
// file's data to disk, which costs milliseconds at every start.
void keepPrevious(const std::string& name) {
  std::string previous = name + PREVIOUS_SUFFIX;
  ::unlink(previous.c_str());
  ::rename(name.c_str(), previous.c_str());
}

// The new log holding its first text. An earlier log of that name, a symbolic link too, first goes
// to the previous log's name; a name taken by anything else (a device such as /dev/null, a FIFO,
// a folder) is neither moved nor written. The log under that name is never empty: the new file
// gets its name only once the text is in it, where the file system allows that.
int createFresh(const std::string& name, const std::string& first) {
  struct stat info;
  bool taken = ::lstat(name.c_str(), &info) == 0;
  if (taken && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
    return -1;
  int fd = prepared(name, first);
  if (taken)
    keepPrevious(name);
  if (fd >= 0 && publish(fd, name))
    return fd;
  if (fd >= 0)
    ::close(fd);
  fd = created(name);
  if (fd >= 0 && !Descriptor::WriteAll(fd, first)) {
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

Logger::Logger(std::string fileName, Opening opening) : fileName(fileName), start(new DateTime()) {
  if (this->fileName.empty())
    return;
  if (opening == Opening::AtOnce)
    open();
  else
    this->opening = holding = true;
}

Logger::~Logger() {
  Flush();
  DateTime end;
  put({"\nDuration: ", std::to_string(end.GetSpanSeconds(start)), " sec."});
  delete start;
  if (fd >= 0)
    ::close(fd);
}

void Logger::open() {
  opening = false;
  fd = createFresh(fileName, "Started at " + start->ToString());
}

void Logger::Write(std::string message) {
  if (fd < 0 && !opening)
    return;
  DateTime now;
  int64_t second = now.GetSpanSeconds(start);
  if (second != timeSecond) {
    timeSecond = second;
    timeText = now.GetTimeString();
  }
  put({"\n", timeText, " > ", message});
}

void Logger::Hold() {
  holding = true;
}

void Logger::Flush() {
  holding = false;
  if (opening || !held.empty())
    writeHeld();
}

std::string Logger::Excerpt(const std::string& value) {
  if (value.size() <= VALUE_LIMIT)
    return value;
  return value.substr(0, cutPoint(value, VALUE_LIMIT)) + "... (" + std::to_string(value.size()) +
         " bytes)";
}

// One write call per message (or per batch of held ones), so that each line reaches the file
// whole or not at all. A held message is put together where it is kept, without a copy of its own.
void Logger::put(std::initializer_list<std::string_view> pieces) {
  if (fd < 0 && !opening)
    return;
  std::string text;
  std::string& line = holding ? held : text;
  for (std::string_view piece : pieces)
    line += piece;
  if (!holding)
    Descriptor::WriteAll(fd, text);
  else if (held.size() > HOLD_LIMIT)
    writeHeld();
}

// The held messages in one write call, to a file made now if it is not made yet.
void Logger::writeHeld() {
  if (opening)
    open();
  if (fd >= 0)
    Descriptor::WriteAll(fd, held);
  held.clear();
}
