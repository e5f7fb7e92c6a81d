#pragma once

#include <string>

// Replaces a file's contents so that a crash, a full disk or a kill leaves either the old or the
// new contents, never a truncated file: the text goes to a new temporary file in the same folder,
// reaches the disk, and is renamed over the target. The target keeps its permissions; when it is
// a symbolic link, the file it points to is replaced and the link stays.
class AtomicFile {
 public:
  // False on any failure; the old file is then untouched and no temporary file is left.
  static bool Write(const std::string& path, const std::string& content);

  // The file a path finally names after following symbolic links (the path itself when it is none).
  static std::string Resolve(const std::string& path);
};
