#include "app/AtomicFile.h"
#include "util/Descriptor.h"
#include "util/Path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int MAX_LINKS = 40;
const char* const TEMP_PREFIX = ".deployer-save-";
const size_t TEMP_RANDOM = 6;  // the "XXXXXX" of mkostemp
// A temporary file is taken for a leftover only when it is older than this: a save holds the lock
// of its temporary file from just after creating it, and that moment must not be mistaken for a
// leftover's free lock.
const time_t LEFTOVER_SECONDS = 10;

// Records the cause of the first failure (errno when given nothing else) and returns false.
bool failed(int* error, int cause = errno) {
  if (*error == 0)
    *error = cause != 0 ? cause : EIO;
  return false;
}

// Mode and owner for the new file: the target's when it exists, else what a plain create gives.
bool targetMode(const std::string& target, struct stat* info, bool* exists, int* error) {
  if (::stat(target.c_str(), info) == 0) {
    *exists = true;
    if (!S_ISREG(info->st_mode))
      return failed(error, S_ISDIR(info->st_mode) ? EISDIR : EINVAL);
    return ::access(target.c_str(), W_OK) == 0 || failed(error);
  }
  if (errno != ENOENT)
    return failed(error);
  *exists = false;
  mode_t mask = ::umask(0);
  ::umask(mask);
  info->st_mode = 0666 & ~mask;
  return true;
}

void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::fsync(fd);
  ::close(fd);
}

bool fillTemp(int fd, const std::string& content, const struct stat& info, bool exists,
              int* error) {
  if (exists && ::fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Not permitted for other owners; the mode below is what matters.
  }
  return (::fchmod(fd, info.st_mode & 07777) == 0 && Descriptor::WriteAll(fd, content) &&
          ::fsync(fd) == 0) ||
         failed(error);
}

// A temporary file that an interrupted save left behind: the name pattern of this class, no
// running save holds its lock, and it was last written some seconds ago (a save that has just
// made its file has not locked it yet).
bool isLeftover(int folder, const char* name) {
  size_t prefix = std::strlen(TEMP_PREFIX);
  if (std::strncmp(name, TEMP_PREFIX, prefix) != 0 || std::strlen(name) != prefix + TEMP_RANDOM)
    return false;
  int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return false;
  struct stat info;
  bool unused = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                info.st_mtime + LEFTOVER_SECONDS < std::time(nullptr) &&
                ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return unused;
}

void removeLeftovers(const std::string& folder) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr)
    return;
  int fd = ::dirfd(listing);
  while (dirent* entry = ::readdir(listing)) {
    if (isLeftover(fd, entry->d_name))
      ::unlinkat(fd, entry->d_name, 0);
  }
  ::closedir(listing);
}

// A new temporary file in folder, locked for as long as it is open; its name goes to temp.
int makeTemp(const std::string& folder, std::string* temp) {
  *temp = folder + "/" + TEMP_PREFIX + std::string(TEMP_RANDOM, 'X');
  int fd = ::mkostemp(temp->data(), O_CLOEXEC);
  if (fd >= 0)
    ::flock(fd, LOCK_EX);
  return fd;
}

// Writes content to a new temporary file beside target and renames it over target. noTemp tells
// whether the failure was that no temporary file could be made.
bool replace(const std::string& target, const std::string& content, const struct stat& info,
             bool exists, bool* noTemp, int* error) {
  std::string folder = Path::GetFolder(target);
  removeLeftovers(folder);
  std::string temp;
  int fd = makeTemp(folder, &temp);
  *noTemp = fd < 0;
  if (fd < 0)
    return failed(error);
  bool filled = fillTemp(fd, content, info, exists, error);
  bool renamed = filled && (::rename(temp.c_str(), target.c_str()) == 0 || failed(error));
  if (!renamed)
    ::unlink(temp.c_str());
  ::close(fd);
  if (renamed)
    syncFolder(folder);
  return renamed;
}

// Reserves the space of content in the open regular file fd; when that fails (a full disk), the
// file is cut back to its size before, so it is left as it was.
bool reserve(int fd, const std::string& content, int* error) {
  struct stat info;
  if (::fstat(fd, &info) != 0)
    return failed(error);
  if (!S_ISREG(info.st_mode))
    return failed(error, EINVAL);
  int reserved = content.empty() ? 0 : ::posix_fallocate(fd, 0, static_cast<off_t>(content.size()));
  if (reserved == 0)
    return true;
  if (::ftruncate(fd, info.st_size) != 0) {
    // The reservation added no bytes that a reader would see as the file's contents.
  }
  return failed(error, reserved);
}

// Writes content over the regular file target once its whole size is reserved, so that a full
// disk leaves the old contents rather than a cut file; the rest of a longer old file is cut off
// last.
bool writeInPlace(const std::string& target, const std::string& content, int* error) {
  int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return failed(error);
  bool written = reserve(fd, content, error) &&
                 ((Descriptor::WriteAll(fd, content) &&
                   ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0) ||
                  failed(error));
  return (::close(fd) == 0 || failed(error)) && written;
}

}  // namespace

std::string AtomicFile::Resolve(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < MAX_LINKS; hop++) {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = ::readlink(current.c_str(), buffer.data(), PATH_MAX);
    if (length < 0)
      return current;
    std::string link(buffer.data(), static_cast<size_t>(length));
    current = link[0] == '/' ? link : Path::GetFolder(current).append("/").append(link);
  }
  return current;
}

AtomicFile::Result AtomicFile::Write(const std::string& path, const std::string& content,
                                     int* error) {
  int cause = 0;
  Result result = write(Resolve(path), content, &cause);
  if (error != nullptr)
    *error = cause;
  return result;
}

AtomicFile::Result AtomicFile::write(const std::string& target, const std::string& content,
                                     int* error) {
  struct stat info;
  bool exists = false;
  if (!targetMode(target, &info, &exists, error))
    return Result::Failed;
  bool noTemp = false;
  if (replace(target, content, info, exists, &noTemp, error))
    return Result::Replaced;
  if (!noTemp || !exists)
    return Result::Failed;
  *error = 0;  // the folder's refusal of a temporary file is not the cause when the file is
  if (writeInPlace(target, content, error))
    return Result::WrittenInPlace;
  return Result::Failed;
}

bool AtomicFile::Create(const std::string& path, const std::string& content, mode_t mode) {
  struct stat info {};
  info.st_mode = mode;
  bool noTemp = false;
  int error = 0;
  return replace(path, content, info, false, &noTemp, &error);
}

const char* AtomicFile::Reason(int error) {
  switch (error) {
    case ENOSPC:
      return "No space left on device";
    case EDQUOT:
      return "Disk quota exceeded";
    case EFBIG:
      return "File too large";
    case EROFS:
      return "Read-only file system";
    case EACCES:
    case EPERM:
      return "Permission denied";
    case EISDIR:
      return "Is a directory";
    case ENOENT:
      return "No such file or directory";
    case ENOTDIR:
      return "Not a directory";
    case EIO:
      return "Input/output error";
    default:
      return "The file could not be written";
  }
}
