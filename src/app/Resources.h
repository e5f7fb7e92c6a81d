#pragma once

#include <cstddef>
#include <map>
#include <string>

class Logger;

// The user-visible texts of the resource file, looked up by key through the public map.
class Resources {
 public:
  Resources(Logger* logger, std::string fileName);
  virtual ~Resources() = default;
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;

  // Adds every entry of the file to texts; throws "Fail when load resources",
  // "ResourceReadFormat" or "Unexpected end of file.".
  void Load();

 private:
  size_t readEntry(const std::string& content, size_t start);
  [[noreturn]] void unexpectedEnd(int state);

  Logger* logger;
  std::string fileName;

 public:
  std::map<std::string, std::string> texts;
};
