#pragma once

#include <memory>
#include <string>
#include <vector>

class Json;
class Logger;

// The deployment settings: a JSON document addressed by paths such as "Docker/Url".
// The store never creates or removes keys. All failures are thrown as C strings.
class Settings {
 public:
  static const std::string Separator;
  static const std::string Docker;
  static const std::string WebServer;
  static const std::string Patch;
  static const std::string Install;
  static const std::string Connection;
  // Appended to the file name for the copy made by Backup.
  static const std::string BACKUP_SUFFIX;

  Settings(Logger* logger, std::string fileName);
  virtual ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  void Load();

  std::string GetString(std::string path);
  int GetInteger(std::string path);
  bool GetBoolean(std::string path);
  double GetDouble(std::string path);
  void SetString(std::string path, std::string value);
  void SetInteger(std::string path, int value);
  void SetBoolean(std::string path, bool value);
  void SetDouble(std::string path, double value);

  // An optional text setting, absent from files written before it existed, reads as empty.
  std::string GetOptionalString(std::string path);
  // Stores an optional text setting. An absent one gets its key only for a value that is not
  // empty, so that a file without it stays so until a value is set; its section must exist.
  void SetOptionalString(std::string path, std::string value);
  // The kind of the value at path (a JsonType), or ABSENT when the file lacks it; logs nothing.
  static constexpr int ABSENT = -1;
  int GetKind(const std::string& path);

  // An optional integer setting reads as fallback while it is absent; setting it adds its key.
  int GetOptionalInteger(std::string path, int fallback);
  void SetOptionalInteger(std::string path, int value);

  bool IsModified();
  // True when the own file no longer holds the bytes last read from or saved to it (another
  // program changed, replaced or removed it since).
  bool ChangedOnDisk() const;
  // True when path names this store's file (the same device and inode, however spelt or
  // linked); false when either cannot be found.
  bool IsOwnFile(const std::string& path) const;
  // Writes the file through AtomicFile; leaves the modified flag alone. A failure is thrown as its
  // cause ("No space left on device", "Read-only file system", "Permission denied", ...).
  void Save(std::string path);
  void Save();  // saves to the own file and clears the modified flag
  // Copies the own file as it stands on disk, byte for byte and atomically, to its name with
  // BACKUP_SUFFIX appended (replacing an older copy, never writing through a link there) and
  // returns that name. Throws "Backup of the settings failed".
  std::string Backup();

 private:
  Json* find(std::string path);
  // The node at path, or null when any piece of it is absent; logs nothing.
  Json* lookup(const std::string& path);
  // Adds node as the absent setting at path, in its existing section.
  void addOptional(const std::string& path, const std::string& shown, std::unique_ptr<Json> node);

  Logger* logger;
  std::string fileName;
  Json* root = nullptr;
  bool modified = false;
  std::string diskText;  // the file's bytes as last read or saved
  // Trees of earlier loads, kept until destruction so that a reload writes no clearing lines.
  std::vector<std::unique_ptr<Json>> earlierRoots;
};
