#pragma once

#include <string>
#include <vector>

class Logger;
class Settings;

// Every setting of SettingsSchema in a loaded file, checked before anything uses it: each must be
// there (a checksum may be absent) with the kind of value of its entry, and meet its rule. Keys
// the schema does not know are left alone.
class SettingsCheck {
 public:
  // One line per refused entry, "Path is FOUND; it must be RULE.", in the order of the schema;
  // empty when every entry passes.
  static std::vector<std::string> Problems(Settings* settings);
  // Logs each problem, naming the file, and throws "Invalid settings" when there is any.
  static void Check(Settings* settings, Logger* logger, const std::string& fileName);
};
