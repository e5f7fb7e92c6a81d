#include "util/Path.h"

#include "util/String.h"

namespace {

const std::string SEPARATOR = "/";
const std::string ARCHIVE_SUFFIX = ".tar.gz";

}  // namespace

std::string Path::GetFileName(std::string path) {
  return String::Split(path, SEPARATOR).back();
}

std::string Path::UnzipFileName(std::string name) {
  size_t size = ARCHIVE_SUFFIX.size();
  if (name.size() < size || name.compare(name.size() - size, size, ARCHIVE_SUFFIX) != 0) {
    return name;
  }
  return name.substr(0, name.size() - size);
}

std::string Path::GetFolder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool Path::IsPlainName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != ".." &&
         name[0] != '-';
}
