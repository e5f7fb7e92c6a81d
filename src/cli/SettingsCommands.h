#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/SettingsSchema.h"

class Settings;

// The settings read and changed from a script: every setting listed, one read, several set at
// once under the rules of the settings forms and panels. A setting the file lacks, or holds with
// another kind of value, makes these throw the store's C string before anything is changed.
class SettingsCommands {
 public:
  explicit SettingsCommands(Settings* settings);  // loaded settings; not owned

  // The 21 settings as "Path=value" lines, one a line, in the order of the settings table. Here
  // and in Get a value holding a control character (a hand-edited file) is written as bash's
  // $'...' with escapes, as the dry run writes it, never raw to the terminal.
  int Show(std::ostream& out);
  // One value and a newline; an unknown path: one line on err naming it, returns 2.
  int Get(const std::string& path, std::ostream& out, std::ostream& err);
  // Checks every value with the same rules as the forms and panels; an unknown path or a refused
  // value: one line on err naming the path and the rule, returns 2, nothing stored or saved.
  // Otherwise applies all, saves once if anything changed, and prints one line per changed value
  // "Path: old -> new" (nothing when every value was already so). A changed download address
  // that is neither http://, https://, a local path nor file:// is stored with a warning on err.
  // Returns 0; 1 with one line on err when the file cannot be saved (the settings in memory then
  // hold the new values). Integers are given as optional '-' and decimal digits. A value equal to
  // the stored one in stored form passes as it is, as in the forms, even when the file was edited
  // outside the rule. A path given twice: every value is checked and the last one wins.
  int Set(const std::vector<std::pair<std::string, std::string>>& pairs, std::ostream& out,
          std::ostream& err);

 private:
  struct Change {
    const SettingsSchema::Entry* entry;
    std::string before;
    std::string after;
  };

  // Checks one value and records it as the one its setting ends with; false after the line on err.
  bool collect(const std::string& path, const std::string& given, std::vector<Change>* changes,
               std::ostream& err);
  // The stored value as text, integers in "%d".
  std::string current(const SettingsSchema::Entry& entry);
  static std::vector<Change> changed(std::vector<Change> changes);
  void store(const Change& change);
  // One warning line on err for a download address nothing would fetch.
  static void warnAboutAddress(const Change& change, std::ostream& err);

  Settings* settings;
};
