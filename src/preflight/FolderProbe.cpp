#include "preflight/FolderProbe.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

std::string FolderProbe::NearestExisting(const std::string& path) {
  std::filesystem::path current = std::filesystem::absolute(path).lexically_normal();
  std::error_code error;
  while (!std::filesystem::exists(current, error) && current.has_relative_path())
    current = current.parent_path();
  std::string text = current.string();
  if (text.size() > 1 && text.back() == '/')
    text.pop_back();
  return text;
}

bool FolderProbe::Writable(const std::string& path, std::string* found) {
  std::string nearest = NearestExisting(path);
  std::error_code error;
  if (!std::filesystem::is_directory(nearest, error)) {
    *found = "not a folder: " + nearest;
    return false;
  }
  if (access(nearest.c_str(), W_OK | X_OK) != 0) {
    *found = std::string(std::strerror(errno)) + " (" + nearest + ")";
    return false;
  }
  std::string wanted = std::filesystem::absolute(path).lexically_normal().string();
  if (wanted.size() > 1 && wanted.back() == '/')
    wanted.pop_back();
  *found = wanted == nearest ? "writable" : "can be created in " + nearest;
  return true;
}

bool FolderProbe::FreeBytes(const std::string& path, unsigned long long* bytes) {
  struct statvfs status {};
  if (statvfs(NearestExisting(path).c_str(), &status) != 0)
    return false;
  *bytes = static_cast<unsigned long long>(status.f_bavail) * status.f_frsize;
  return true;
}
