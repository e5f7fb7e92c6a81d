#pragma once

#include <string>
#include <vector>

// Every setting with the kind of its value in the file and the rule a new value must meet: the
// same checks the settings forms and the main window's panels make, which call them from here.
class SettingsSchema {
 public:
  // Checksum: an optional text setting, stored in lower case (see Settings::GetOptionalString);
  // OptionalText and OptionalInteger: optional settings, the integer reading as its fallback.
  enum class Kind { Text, Integer, Checksum, OptionalText, OptionalInteger };

  struct Entry {
    const char* path;
    Kind kind;
    // What an accepted value is, to follow "must be".
    std::string rule;
    // The check of a text setting's value, or of an integer setting's number.
    bool (*acceptsText)(const std::string& value);
    bool (*acceptsInteger)(int value);
    // What an absent OptionalInteger setting reads as.
    int fallback = 0;

    // Parses a value given as text into its stored form: a text as it is, a checksum in lower
    // case, an integer as "%d" of optional '-' and decimal digits that fit an int. False when it
    // does not parse.
    bool ToStored(const std::string& given, std::string* stored) const;
    // True when the stored form of a value meets the rule.
    bool Accepts(const std::string& stored) const;
  };

  static constexpr int LowestPort = 1;
  static constexpr int HighestPort = 65535;
  static constexpr int LowestHealthTimeout = 1;
  static constexpr int HighestHealthTimeout = 3600;
  static constexpr int DefaultHealthTimeout = 60;

  // The settings in the order of their paths.
  static const std::vector<Entry>& Entries();
  // Null for a path that names no setting.
  static const Entry* Find(const std::string& path);

  static bool IsFilled(const std::string& text);
  static bool IsOneLine(const std::string& text);
  // A patch file name template holds "*" where the version goes.
  static bool IsPatchTemplate(const std::string& text);
  // The patch file name made from a template is one plain name (Path::IsPlainName); the version
  // put in for "*" cannot change that.
  static bool IsPatchFileName(const std::string& text);
  // The archive's file name, the last part of its address, is one plain name.
  static bool IsArchiveUrl(const std::string& text);
  static bool IsPatchVersion(const std::string& text);
  static bool IsPort(int value);
  // 0 leaves debugging off.
  static bool IsDebugPort(int value);
  static bool IsWebServerType(const std::string& key);
  static bool IsContainerSoftware(const std::string& key);
  static bool IsDatabaseType(int key);
  // Empty, or a SHA-256 digest as 64 hexadecimal digits.
  static bool IsChecksum(const std::string& text);
  // Empty, or an address beginning with http:// or https:// followed by a host.
  static bool IsHealthUrl(const std::string& text);
  static bool IsHealthTimeout(int seconds);
  // Optional '-' and decimal digits only, within the range of int.
  static bool ParseInteger(const std::string& text, int* value);
};
