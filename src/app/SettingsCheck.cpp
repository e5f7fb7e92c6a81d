#include "app/SettingsCheck.h"

#include <cstdio>

#include "app/Logger.h"
#include "app/Settings.h"
#include "app/SettingsSchema.h"
#include "util/Json.h"

namespace {

using Kind = SettingsSchema::Kind;

std::string number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

// What the file holds at the entry's path, as a log line names it.
std::string found(Settings* settings, const std::string& path, int kind) {
  switch (kind) {
    case Settings::ABSENT:
      return "absent";
    case JsonString:
      return "the text \"" + Logger::Excerpt(settings->GetString(path)) + "\"";
    case JsonInteger:
      return "the number " + std::to_string(settings->GetInteger(path));
    case JsonDouble:
      return "the number " + number(settings->GetDouble(path));
    case JsonBoolean:
      return settings->GetBoolean(path) ? "true" : "false";
    case JsonArray:
      return "a list";
    default:
      return "an object";
  }
}

// The value in its stored form when the kind is the entry's; false otherwise.
bool stored(Settings* settings, const SettingsSchema::Entry& entry, int kind, std::string* value) {
  if (entry.kind == Kind::Integer || entry.kind == Kind::OptionalInteger) {
    if (kind != JsonInteger)
      return false;
    *value = std::to_string(settings->GetInteger(entry.path));
    return true;
  }
  if (kind != JsonString)
    return false;
  *value = settings->GetString(entry.path);
  return true;
}

bool passes(Settings* settings, const SettingsSchema::Entry& entry) {
  int kind = settings->GetKind(entry.path);
  // Entries added after the first files were written may be absent: they read as their default.
  if (kind == Settings::ABSENT &&
      (entry.kind == Kind::Checksum || entry.kind == Kind::OptionalText ||
       entry.kind == Kind::OptionalInteger))
    return true;
  std::string value;
  return stored(settings, entry, kind, &value) && entry.Accepts(value);
}

}  // namespace

std::vector<std::string> SettingsCheck::Problems(Settings* settings) {
  std::vector<std::string> problems;
  for (const SettingsSchema::Entry& entry : SettingsSchema::Entries())
    if (!passes(settings, entry))
      problems.push_back(std::string(entry.path) + " is " +
                         found(settings, entry.path, settings->GetKind(entry.path)) +
                         "; it must be " + entry.rule + ".");
  return problems;
}

void SettingsCheck::Check(Settings* settings, Logger* logger, const std::string& fileName) {
  std::vector<std::string> problems = Problems(settings);
  for (const std::string& problem : problems) {
    // NOLINTNEXTLINE(performance-inefficient-string-concatenation): one line per bad entry
    logger->Write("SettingsCheck " + fileName + ": " + problem);
  }
  if (!problems.empty())
    throw "Invalid settings";
}
