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
#include <vector>

namespace {

constexpr int MAX_LINKS = 40;
const char* const TEMP_PREFIX = ".deployer-save-";
const size_t TEMP_RANDOM = 6;  // the "XXXXXX" of mkostemp

// Mode and owner for the new file: the target's when it exists, else what a plain create gives.
bool targetMode(const std::string& target, struct stat* info, bool* exists) {
  if (::stat(target.c_str(), info) == 0) {
    *exists = true;
    return S_ISREG(info->st_mode) && ::access(target.c_str(), W_OK) == 0;
  }
  bool missing = errno == ENOENT;
  *exists = false;
  mode_t mask = ::umask(0);
  ::umask(mask);
  info->st_mode = 0666 & ~mask;
  return missing;
}

void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::fsync(fd);
  ::close(fd);
}

bool fillTemp(int fd, const std::string& content, const struct stat& info, bool exists) {
  if (exists && ::fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Not permitted for other owners; the mode below is what matters.
  }
  return ::fchmod(fd, info.st_mode & 07777) == 0 && Descriptor::WriteAll(fd, content) &&
         ::fsync(fd) == 0;
}

// A temporary file that an interrupted save left behind: the name pattern of this class, and no
// running save holds its lock.
bool isLeftover(int folder, const char* name) {
  size_t prefix = std::strlen(TEMP_PREFIX);
  if (std::strncmp(name, TEMP_PREFIX, prefix) != 0 || std::strlen(name) != prefix + TEMP_RANDOM)
    return false;
  int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return false;
  struct stat info;
  bool unused =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
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
             bool exists, bool* noTemp) {
  std::string folder = Path::GetFolder(target);
  removeLeftovers(folder);
  std::string temp;
  int fd = makeTemp(folder, &temp);
  *noTemp = fd < 0;
  if (fd < 0)
    return false;
  bool filled = fillTemp(fd, content, info, exists);
  bool renamed = filled && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!renamed)
    ::unlink(temp.c_str());
  ::close(fd);
  if (renamed)
    syncFolder(folder);
  return renamed;
}

// Truncates the regular file target and writes content into it.
bool writeInPlace(const std::string& target, const std::string& content) {
  int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return false;
  struct stat info;
  bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) == 0 &&
                 Descriptor::WriteAll(fd, content) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && written;
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

AtomicFile::Result AtomicFile::Write(const std::string& path, const std::string& content) {
  std::string target = Resolve(path);
  struct stat info;
  bool exists = false;
  if (!targetMode(target, &info, &exists))
    return Result::Failed;
  bool noTemp = false;
  if (replace(target, content, info, exists, &noTemp))
    return Result::Replaced;
  if (noTemp && exists && writeInPlace(target, content))
    return Result::WrittenInPlace;
  return Result::Failed;
}

bool AtomicFile::Create(const std::string& path, const std::string& content, mode_t mode) {
  struct stat info {};
  info.st_mode = mode;
  bool noTemp = false;
  return replace(path, content, info, false, &noTemp);
}
