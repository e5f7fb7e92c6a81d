#pragma once

#include <sys/types.h>

#include <string>

// Replaces a file's contents so that a crash, a full disk or a kill leaves either the old or the
// new contents, never a truncated file: the text goes to a new temporary file in the same folder,
// reaches the disk, and is renamed over the target. The target keeps its permissions; when it is
// a symbolic link, the file it points to is replaced and the link stays; a hard link to the old
// file keeps the old contents. Temporary files that earlier saves left behind when they were
// killed are removed from the folder first (only files of this class's own name pattern that no
// running save holds and that were last written more than a few seconds ago).
class AtomicFile {
 public:
  enum class Result {
    Failed,         // the old file is untouched and no temporary file is left
    Replaced,       // atomically
    WrittenInPlace  // no temporary file could be made in the folder, but the file was writable
  };

  // When no temporary file can be made, an existing file is written in place, but only after
  // its whole new size is reserved on the disk: failing that, it is left byte for byte as it was.
  // After a failure, error (when given) holds its cause as an errno value.
  static Result Write(const std::string& path, const std::string& content, int* error = nullptr);

  // Writes content atomically as a new file at path itself, with the given permissions: whatever
  // is there, a symbolic link too, is replaced and never followed. False on any failure.
  static bool Create(const std::string& path, const std::string& content, mode_t mode);

  // The file a path finally names after following symbolic links (the path itself when it is none).
  static std::string Resolve(const std::string& path);

  // A short English text for the cause of a failed Write, as an errno value ("No space left on
  // device", "Read-only file system", "Permission denied", ...); static storage.
  static const char* Reason(int error);

 private:
  static Result write(const std::string& target, const std::string& content, int* error);
};
