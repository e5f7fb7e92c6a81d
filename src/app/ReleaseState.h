#pragma once

#include <optional>
#include <string>
#include <vector>

// The releases of the working folder, kept in releases.json: the one deployed now, the good one
// deployed before it, and every release that succeeded here (so that it can be applied again),
// each with its patch version and the Patch settings it succeeded with. Also the SHA-256 of the
// settings file of the last succeeded action. Written atomically; a missing or unreadable file
// reads as no release.
class ReleaseState {
 public:
  static const char* const FILE_NAME;  // "releases.json"

  struct Release {
    std::string version;
    std::string url;
    std::string patchTemplate;
    std::string sha256;
  };

  // Reads path; false (and an empty state) when it is missing or not a release state.
  bool Load(const std::string& path);
  // Writes atomically; false on failure.
  bool Save(const std::string& path) const;

  const std::optional<Release>& Deployed() const { return deployed; }
  const std::optional<Release>& Previous() const { return previous; }
  const std::string& SettingsSha256() const { return settingsSha256; }
  // The release of that version that succeeded here, or null.
  const Release* Find(const std::string& version) const;

  // release is deployed now and succeeded with settings of the digest given; the one deployed
  // before it becomes the previous good release when its version differs.
  void Succeeded(const Release& release, const std::string& settingsDigest);
  // A succeeded action that left the release as it was (a migration or a returned update).
  void Confirmed(const std::string& settingsDigest) { settingsSha256 = settingsDigest; }
  // Nothing is deployed any more.
  void Clear();

  std::string ToText() const;

 private:
  std::optional<Release> deployed;
  std::optional<Release> previous;
  std::vector<Release> known;
  std::string settingsSha256;
};
