#include "cli/SettingsCommands.h"

#include <algorithm>
#include <cstdio>

#include "app/Settings.h"
#include "app/SettingsPath.h"
#include "controllers/Controller.h"
#include "controllers/Shell.h"

namespace {

void unknown(const std::string& path, std::ostream& err) {
  err << "deployer: Unknown setting \"" << path << "\".\n";
}

// The settings whose value a download or the web server's scripts fetch.
bool isAddress(const std::string& path) {
  return path == SettingsPath::DockerUrl || path == SettingsPath::WebServerUrl ||
         path == SettingsPath::PatchUrl;
}

bool fetchable(const std::string& address) {
  for (const std::string scheme : {"http://", "https://"})
    if (address.compare(0, scheme.size(), scheme) == 0 && address.size() > scheme.size())
      return true;
  return !Controller::LocalSource(address).empty();
}

}  // namespace

SettingsCommands::SettingsCommands(Settings* settings) : settings(settings) {}

int SettingsCommands::Show(std::ostream& out) {
  for (const SettingsSchema::Entry& entry : SettingsSchema::Entries())
    out << entry.path << '=' << Shell::Visible(current(entry)) << '\n';
  return 0;
}

int SettingsCommands::Get(const std::string& path, std::ostream& out, std::ostream& err) {
  const SettingsSchema::Entry* entry = SettingsSchema::Find(path);
  if (entry == nullptr) {
    unknown(path, err);
    return 2;
  }
  out << Shell::Visible(current(*entry)) << '\n';
  return 0;
}

int SettingsCommands::Set(const std::vector<std::pair<std::string, std::string>>& pairs,
                          std::ostream& out, std::ostream& err) {
  std::vector<Change> changes;
  for (const auto& [path, given] : pairs)
    if (!collect(path, given, &changes, err))
      return 2;
  changes = changed(std::move(changes));
  if (changes.empty())
    return 0;
  for (const Change& change : changes) {
    warnAboutAddress(change, err);
    store(change);
  }
  try {
    settings->Save();
  } catch (const char* message) {
    err << "deployer: Settings not saved: " << message << '\n';
    return 1;
  }
  for (const Change& change : changes)
    out << change.entry->path << ": " << change.before << " -> " << change.after << '\n';
  return 0;
}

bool SettingsCommands::collect(const std::string& path, const std::string& given,
                               std::vector<Change>* changes, std::ostream& err) {
  const SettingsSchema::Entry* entry = SettingsSchema::Find(path);
  if (entry == nullptr) {
    unknown(path, err);
    return false;
  }
  Change change{entry, current(*entry), ""};
  if (!entry->ToStored(given, &change.after) ||
      (change.after != change.before && !entry->Accepts(change.after))) {
    err << "deployer: Refused " << path << " \"" << given << "\": it must be " << entry->rule
        << ".\n";
    return false;
  }
  auto same = [entry](const Change& earlier) { return earlier.entry == entry; };
  auto earlier = std::find_if(changes->begin(), changes->end(), same);
  if (earlier == changes->end())
    changes->push_back(change);
  else
    *earlier = change;
  return true;
}

std::string SettingsCommands::current(const SettingsSchema::Entry& entry) {
  if (entry.kind == SettingsSchema::Kind::Text)
    return settings->GetString(entry.path);
  if (entry.kind == SettingsSchema::Kind::Checksum ||
      entry.kind == SettingsSchema::Kind::OptionalText)
    return settings->GetOptionalString(entry.path);
  int value = entry.kind == SettingsSchema::Kind::OptionalInteger
                  ? settings->GetOptionalInteger(entry.path, entry.fallback)
                  : settings->GetInteger(entry.path);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", value);
  return buffer;
}

std::vector<SettingsCommands::Change> SettingsCommands::changed(std::vector<Change> changes) {
  auto same = [](const Change& change) { return change.after == change.before; };
  changes.erase(std::remove_if(changes.begin(), changes.end(), same), changes.end());
  return changes;
}

void SettingsCommands::store(const Change& change) {
  if (change.entry->kind == SettingsSchema::Kind::Text) {
    settings->SetString(change.entry->path, change.after);
    return;
  }
  if (change.entry->kind == SettingsSchema::Kind::Checksum ||
      change.entry->kind == SettingsSchema::Kind::OptionalText) {
    settings->SetOptionalString(change.entry->path, change.after);
    return;
  }
  int value = 0;
  SettingsSchema::ParseInteger(change.after, &value);
  if (change.entry->kind == SettingsSchema::Kind::OptionalInteger)
    settings->SetOptionalInteger(change.entry->path, value);
  else
    settings->SetInteger(change.entry->path, value);
}

// The forms take any address, so an odd one is stored; only what fetches it can tell.
void SettingsCommands::warnAboutAddress(const Change& change, std::ostream& err) {
  if (isAddress(change.entry->path) && !fetchable(change.after))
    err << "deployer: warning: " << change.entry->path << " \"" << change.after
        << "\" is neither an http:// or https:// address nor a local path or file:// address; "
           "stored anyway.\n";
}
