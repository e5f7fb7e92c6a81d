#include "app/ReleaseState.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/AtomicFile.h"
#include "util/Json.h"
#include "util/JsonEscape.h"

const char* const ReleaseState::FILE_NAME = "releases.json";

namespace {

// Releases kept for a rollback to a chosen version, the newest last.
const size_t KNOWN_LIMIT = 50;

// The item of an object under key; null when the key is absent.
Json* itemOf(Json* object, const std::string& key) {
  return object != nullptr ? object->FindItem(key) : nullptr;
}

std::string textOf(Json* object, const std::string& key) {
  Json* item = itemOf(object, key);
  return item != nullptr && item->GetType() == JsonString ? item->GetString() : "";
}

std::optional<ReleaseState::Release> releaseOf(Json* object) {
  std::string version = textOf(object, "version");
  if (version.empty())
    return std::nullopt;
  return ReleaseState::Release{version, textOf(object, "url"), textOf(object, "template"),
                               textOf(object, "sha256")};
}

void appendField(std::string* out, const char* key, const std::string& value) {
  JsonEscape::AppendQuoted(out, key);
  *out += ": ";
  JsonEscape::AppendQuoted(out, value);
}

std::string releaseText(const std::optional<ReleaseState::Release>& release) {
  if (!release)
    return "null";
  std::string out = "{";
  appendField(&out, "version", release->version);
  out += ", ";
  appendField(&out, "url", release->url);
  out += ", ";
  appendField(&out, "template", release->patchTemplate);
  out += ", ";
  appendField(&out, "sha256", release->sha256);
  return out + "}";
}

}  // namespace

bool ReleaseState::Load(const std::string& path) {
  *this = ReleaseState();
  std::ifstream in(path);
  if (!in)
    return false;
  std::stringstream text;
  text << in.rdbuf();
  try {
    Json root(nullptr, text.str());
    deployed = releaseOf(itemOf(&root, "deployed"));
    previous = releaseOf(itemOf(&root, "previous"));
    settingsSha256 = textOf(&root, "settings_sha256");
    Json* releases = itemOf(&root, "releases");
    if (releases != nullptr && releases->GetType() == JsonArray)
      for (int i = 0; i < releases->Count(); ++i)
        if (auto release = releaseOf(releases->GetItem(i)))
          known.push_back(*release);
    return true;
  } catch (...) {
    *this = ReleaseState();
    return false;
  }
}

bool ReleaseState::Save(const std::string& path) const {
  return AtomicFile::Write(path, ToText()) != AtomicFile::Result::Failed;
}

std::string ReleaseState::ToText() const {
  std::string out = "{\n\t\"deployed\": " + releaseText(deployed) +
                    ",\n\t\"previous\": " + releaseText(previous) + ",\n\t\"releases\": [";
  const char* separator = "\n\t\t";
  for (const Release& release : known) {
    out += separator + releaseText(release);
    separator = ",\n\t\t";
  }
  out += known.empty() ? "],\n\t" : "\n\t],\n\t";
  appendField(&out, "settings_sha256", settingsSha256);
  return out + "\n}\n";
}

const ReleaseState::Release* ReleaseState::Find(const std::string& version) const {
  for (auto it = known.rbegin(); it != known.rend(); ++it)
    if (it->version == version)
      return &*it;
  return nullptr;
}

void ReleaseState::Succeeded(const Release& release, const std::string& settingsDigest) {
  if (deployed && deployed->version != release.version)
    previous = deployed;
  deployed = release;
  settingsSha256 = settingsDigest;
  auto same = [&release](const Release& known) { return known.version == release.version; };
  known.erase(std::remove_if(known.begin(), known.end(), same), known.end());
  known.push_back(release);
  if (known.size() > KNOWN_LIMIT)
    known.erase(known.begin());
}

void ReleaseState::Clear() {
  *this = ReleaseState();
}
