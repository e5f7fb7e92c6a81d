#pragma once

#include <string>

// File-name helpers used to derive local names from download addresses.
class Path {
 public:
  // The text after the last "/" (the whole text without "/", empty when it ends with "/").
  static std::string GetFileName(std::string path);
  // The folder part of a path: "." for a bare name, "/" for a file at the root.
  static std::string GetFolder(const std::string& path);
  // The name without a final ".tar.gz"; other names unchanged.
  static std::string UnzipFileName(std::string name);
  // True for one path component that stays in its folder and cannot be read as an option: not
  // empty, no "/", not "." or "..", not beginning with "-".
  static bool IsPlainName(const std::string& name);
};
