#pragma once

#include <string>

// Looks at a folder that an action writes to, or creates, without changing anything: a folder
// that is not there yet counts as what its nearest existing ancestor allows.
class FolderProbe {
 public:
  // The path itself when it exists, else its nearest existing ancestor ("/" at the latest).
  static std::string NearestExisting(const std::string& path);
  // True when the folder exists and may be written to, or can be created; found says what was
  // found either way ("writable", "can be created in /srv", "Read-only file system (/srv)", ...).
  static bool Writable(const std::string& path, std::string* found);
  // The bytes free to this user on the file system that holds path (or would hold it); false
  // when it cannot be told.
  static bool FreeBytes(const std::string& path, unsigned long long* bytes);
};
