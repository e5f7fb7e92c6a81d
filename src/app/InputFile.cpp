#include "app/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/Logger.h"

const char* const InputFile::NOT_REGULAR = "not a regular file";
const char* const InputFile::TOO_LARGE = "larger than 4 MiB";
const char* const InputFile::CANNOT_OPEN = "cannot be opened";

namespace {

struct Descriptor {
  explicit Descriptor(int fd) : fd(fd) {}
  ~Descriptor() {
    if (fd >= 0)
      ::close(fd);
  }
  int fd;
};

// Reads until the end of the file, or until more than limit bytes have come (a file that grows),
// straight into the text: it starts at the size the file had (one byte more, so that the end is
// seen by the first read after it) and doubles when the file grew. A buffer on the stack would
// cost a page fault for each of its pages on a first call, on every start.
bool readAll(int fd, size_t expected, size_t limit, std::string* text) {
  size_t used = 0;
  text->resize(std::min(expected, limit) + 1);
  while (used <= limit) {
    if (used == text->size())
      text->resize(std::min(used * 2, limit + 1));
    ssize_t count = ::read(fd, &(*text)[used], text->size() - used);
    if (count < 0 && errno == EINTR)
      continue;
    if (count < 0)
      return false;
    if (count == 0)
      break;
    used += static_cast<size_t>(count);
  }
  text->resize(used);
  return true;
}

}  // namespace

const char* InputFile::Read(const std::string& path, std::string* text) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (file.fd < 0 || ::fstat(file.fd, &info) != 0)
    return CANNOT_OPEN;
  if (!S_ISREG(info.st_mode))
    return NOT_REGULAR;
  if (static_cast<size_t>(info.st_size) > LIMIT)
    return TOO_LARGE;
  std::string read;
  if (!readAll(file.fd, static_cast<size_t>(info.st_size), LIMIT, &read))
    return CANNOT_OPEN;
  if (read.size() > LIMIT)
    return TOO_LARGE;
  text->swap(read);
  return nullptr;
}

std::string InputFile::Load(Logger* logger, const std::string& path, const std::string& operation,
                            const std::string& cannotOpenLine, const char* cannotOpen) {
  std::string text;
  const char* refused = Read(path, &text);
  if (refused == CANNOT_OPEN) {
    logger->Write(cannotOpenLine);
    throw cannotOpen;
  }
  if (refused != nullptr) {
    logger->Write(operation + " refuses " + path + ": " + refused + ".");
    throw refused;
  }
  return text;
}
