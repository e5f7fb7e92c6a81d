#include "app/SettingsSchema.h"

#include <climits>
#include <cstdio>
#include <map>
#include <type_traits>

#include "app/CsType.h"
#include "app/DbType.h"
#include "app/SettingsPath.h"
#include "app/Version.h"
#include "app/WsType.h"
#include "util/Path.h"
#include "util/Sha256.h"
#include "util/String.h"

namespace {

using P = SettingsPath;
using Kind = SettingsSchema::Kind;

std::string decimal(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", value);
  return buffer;
}

// "one of a, b, c", each key followed by its shown text when withShown.
template <typename K>
std::string oneOf(const std::map<K, std::string>& items, bool withShown) {
  std::string text = "one of";
  const char* separator = " ";
  for (const auto& [key, shown] : items) {
    text += separator;
    separator = ", ";
    if constexpr (std::is_same_v<K, int>)
      text += decimal(key);
    else
      text += key;
    if (withShown)
      text += " (" + shown + ")";
  }
  return text;
}

bool anyLine(const std::string& text) {
  return SettingsSchema::IsOneLine(text);
}

bool filledLine(const std::string& text) {
  return SettingsSchema::IsOneLine(text) && SettingsSchema::IsFilled(text);
}

bool templateLine(const std::string& text) {
  return SettingsSchema::IsOneLine(text) && SettingsSchema::IsPatchTemplate(text) &&
         SettingsSchema::IsPatchFileName(text);
}

bool archiveLine(const std::string& text) {
  return filledLine(text) && SettingsSchema::IsArchiveUrl(text);
}

SettingsSchema::Entry text(const char* path, std::string rule,
                           bool (*accepts)(const std::string&)) {
  return {path, Kind::Text, std::move(rule), accepts, nullptr};
}

SettingsSchema::Entry checksum(const char* path) {
  return {path, Kind::Checksum, "empty or a SHA-256 digest of 64 hexadecimal digits",
          SettingsSchema::IsChecksum, nullptr};
}

SettingsSchema::Entry integer(const char* path, std::string rule, bool (*accepts)(int)) {
  return {path, Kind::Integer, std::move(rule), nullptr, accepts};
}

std::vector<SettingsSchema::Entry> build() {
  const char* any = "one line of text";
  const char* filled = "one line of text, not empty";
  const char* plain = "not empty, without /, not . or .. and not beginning with -";
  std::string archive =
      std::string("one line of text whose last part after / (the file name) is ") + plain;
  std::string port = "a whole number from " + decimal(SettingsSchema::LowestPort) + " to " +
                     decimal(SettingsSchema::HighestPort);
  return {
      text(P::ConnectionBase, any, anyLine),
      text(P::ConnectionServer, any, anyLine),
      integer(P::ConnectionType, oneOf(DbType::GetItems(), true), SettingsSchema::IsDatabaseType),
      text(P::DockerPath, filled, filledLine),
      checksum(P::DockerSha256),
      text(P::DockerUrl, archive, archiveLine),
      text(P::InstallCatalog, any, anyLine),
      text(P::InstallComplexId, filled, filledLine),
      text(P::InstallDll, filled, filledLine),
      {P::InstallHealthTimeout, Kind::OptionalInteger,
       "a whole number of seconds from " + decimal(SettingsSchema::LowestHealthTimeout) + " to " +
           decimal(SettingsSchema::HighestHealthTimeout),
       nullptr, SettingsSchema::IsHealthTimeout, SettingsSchema::DefaultHealthTimeout},
      {P::InstallHealthUrl, Kind::OptionalText, "empty or an http:// or https:// address",
       SettingsSchema::IsHealthUrl, nullptr},
      integer(P::InstallPort, port, SettingsSchema::IsPort),
      checksum(P::PatchSha256),
      text(P::PatchTemplate, std::string("a file name holding * where the version goes, ") + plain,
           templateLine),
      text(P::PatchUrl, filled, filledLine),
      text(P::PatchVersion, "a version of 2 to 4 whole numbers joined by dots, such as 24.2.0.0",
           SettingsSchema::IsPatchVersion),
      text(P::WebServerContSoft, oneOf(CsType::GetItems(), false),
           SettingsSchema::IsContainerSoftware),
      integer(P::WebServerDebugPort,
              "a whole number from 0 (no debugging) to " + decimal(SettingsSchema::HighestPort),
              SettingsSchema::IsDebugPort),
      text(P::WebServerPath, filled, filledLine),
      integer(P::WebServerPort, port, SettingsSchema::IsPort),
      checksum(P::WebServerSha256),
      text(P::WebServerType, oneOf(WsType::GetItems(), false), SettingsSchema::IsWebServerType),
      text(P::WebServerUrl, archive, archiveLine),
  };
}

}  // namespace

bool SettingsSchema::Entry::ToStored(const std::string& given, std::string* stored) const {
  if (kind != Kind::Integer && kind != Kind::OptionalInteger) {
    *stored = kind == Kind::Checksum ? Sha256::Normalised(given) : given;
    return true;
  }
  int value;
  if (!ParseInteger(given, &value))
    return false;
  *stored = decimal(value);
  return true;
}

bool SettingsSchema::Entry::Accepts(const std::string& stored) const {
  if (kind != Kind::Integer && kind != Kind::OptionalInteger)
    return acceptsText(stored);
  int value;
  return ParseInteger(stored, &value) && acceptsInteger(value);
}

const std::vector<SettingsSchema::Entry>& SettingsSchema::Entries() {
  static const std::vector<Entry> entries = build();
  return entries;
}

const SettingsSchema::Entry* SettingsSchema::Find(const std::string& path) {
  for (const Entry& entry : Entries())
    if (path == entry.path)
      return &entry;
  return nullptr;
}

bool SettingsSchema::IsFilled(const std::string& text) {
  return !text.empty();
}

// Control characters, a line end among them, cannot be typed into a field.
bool SettingsSchema::IsOneLine(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f)
      return false;
  return true;
}

bool SettingsSchema::IsPatchTemplate(const std::string& text) {
  return String::IndexOfW(text, "*") >= 0;
}

bool SettingsSchema::IsPatchFileName(const std::string& text) {
  return Path::IsPlainName(text);
}

bool SettingsSchema::IsArchiveUrl(const std::string& text) {
  return Path::IsPlainName(Path::GetFileName(text));
}

bool SettingsSchema::IsPatchVersion(const std::string& text) {
  return Version::Valid(text);
}

bool SettingsSchema::IsPort(int value) {
  return value >= LowestPort && value <= HighestPort;
}

bool SettingsSchema::IsDebugPort(int value) {
  return value >= 0 && value <= HighestPort;
}

bool SettingsSchema::IsWebServerType(const std::string& key) {
  return WsType::GetItems().count(key) == 1;
}

bool SettingsSchema::IsContainerSoftware(const std::string& key) {
  return CsType::GetItems().count(key) == 1;
}

bool SettingsSchema::IsDatabaseType(int key) {
  return DbType::GetItems().count(key) == 1;
}

bool SettingsSchema::IsChecksum(const std::string& text) {
  return Sha256::IsValidSetting(text);
}

bool SettingsSchema::IsHealthUrl(const std::string& text) {
  if (text.empty())
    return true;
  if (!IsOneLine(text) || text.find(' ') != std::string::npos)
    return false;
  for (const char* scheme : {"http://", "https://"}) {
    size_t length = std::char_traits<char>::length(scheme);
    if (text.compare(0, length, scheme) == 0)
      return text.size() > length && text[length] != '/';
  }
  return false;
}

bool SettingsSchema::IsHealthTimeout(int seconds) {
  return seconds >= LowestHealthTimeout && seconds <= HighestHealthTimeout;
}

bool SettingsSchema::ParseInteger(const std::string& text, int* value) {
  bool negative = !text.empty() && text[0] == '-';
  size_t first = negative ? 1 : 0;
  if (text.size() == first)
    return false;
  long long magnitude = 0;
  for (size_t i = first; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9')
      return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1)
      return false;
  }
  long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX)
    return false;
  *value = static_cast<int>(signedValue);
  return true;
}
