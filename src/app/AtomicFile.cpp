#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace {

constexpr int MAX_LINKS = 40;

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    ssize_t written = ::write(fd, content.data() + done, content.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

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
  return ::fchmod(fd, info.st_mode & 07777) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
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
    current = link[0] == '/' ? link : folderOf(current) + "/" + link;
  }
  return current;
}

bool AtomicFile::Write(const std::string& path, const std::string& content) {
  std::string target = Resolve(path);
  struct stat info;
  bool exists = false;
  if (!targetMode(target, &info, &exists))
    return false;
  std::string folder = folderOf(target);
  std::string temp = folder + "/.deployer-save-XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0)
    return false;
  bool filled = fillTemp(fd, content, info, exists);
  bool closed = ::close(fd) == 0;
  if (!filled || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
}
