#include "app/Settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/AtomicFile.h"
#include "app/InputFile.h"
#include "app/Logger.h"
#include "util/Json.h"
#include "util/String.h"

const std::string Settings::Separator = "/";
const std::string Settings::Docker = "Docker";
const std::string Settings::WebServer = "WebServer";
const std::string Settings::Patch = "Patch";
const std::string Settings::Install = "Install";
const std::string Settings::Connection = "Connection";
const std::string Settings::BACKUP_SUFFIX = ".bak";

namespace {

std::string format(const char* pattern, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

std::string format(const char* pattern, double value) {
  int length = std::snprintf(nullptr, 0, pattern, value);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, value);
  text.resize(static_cast<size_t>(length));
  return text;
}

// Stores value in node unless it holds it already (read by the getter of the same kind, so a
// node of another kind throws); logs line before a change. True when the value changed.
template <typename T>
bool store(Logger* logger, Json* node, const std::string& line, T value, T (Json::*get)(),
           void (Json::*set)(T)) {
  if ((node->*get)() == value)
    return false;
  logger->Write(line);
  (node->*set)(value);
  return true;
}

}  // namespace

Settings::Settings(Logger* logger, std::string fileName) : logger(logger), fileName(fileName) {}

Settings::~Settings() {
  delete root;
  earlierRoots.clear();
}

void Settings::Load() {
  std::string text =
      InputFile::Load(logger, fileName, "Settings::Load",
                      "Can't open file " + fileName + " with settings.", "Fail when load settings");
  Json* loaded = new Json(logger, text);
  if (root != nullptr)
    earlierRoots.emplace_back(root);
  root = loaded;
  diskText = std::move(text);
  modified = false;
  logger->Write("Settings::Load main setting count " + format("%d", root->Count()) + ".");
}

Json* Settings::find(std::string path) {
  Json* node = root;
  for (const std::string& piece : String::Split(path, Separator)) {
    Json* child = node != nullptr ? node->GetItem(piece) : nullptr;
    if (child == nullptr) {
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once, then the throw
      logger->Write("Settings::find " + piece + " in " + path + " is absent.");
      throw "Invalid setting key.";
    }
    node = child;
  }
  if (node == root) {
    logger->Write("Settings::find invalid path = " + path + ".");
    throw "Invalid setting key.";
  }
  return node;
}

std::string Settings::GetString(std::string path) {
  return find(path)->GetString();
}

int Settings::GetInteger(std::string path) {
  return find(path)->GetInteger();
}

bool Settings::GetBoolean(std::string path) {
  return find(path)->GetBoolean();
}

double Settings::GetDouble(std::string path) {
  return find(path)->GetDouble();
}

void Settings::SetString(std::string path, std::string value) {
  Json* node = find(path);
  modified |=
      store(logger, node, "Settings::SetString " + path + " as " + Logger::Excerpt(value) + ".",
            value, &Json::GetString, &Json::SetString);
}

void Settings::SetInteger(std::string path, int value) {
  Json* node = find(path);
  modified |=
      store(logger, node, "Settings::SetInteger " + path + " as " + format("%d", value) + ".",
            value, &Json::GetInteger, &Json::SetInteger);
}

void Settings::SetBoolean(std::string path, bool value) {
  Json* node = find(path);
  modified |= store(logger, node,
                    "Settings::SetBoolean " + path + " as " + (value ? "true" : "false") + ".",
                    value, &Json::GetBoolean, &Json::SetBoolean);
}

void Settings::SetDouble(std::string path, double value) {
  Json* node = find(path);
  modified |=
      store(logger, node, "Settings::SetDouble " + path + " as " + format("%f", value) + ".", value,
            &Json::GetDouble, &Json::SetDouble);
}

Json* Settings::lookup(const std::string& path) {
  Json* node = root;
  for (const std::string& piece : String::Split(path, Separator))
    node = node != nullptr ? node->FindItem(piece) : nullptr;
  return node == root ? nullptr : node;
}

std::string Settings::GetOptionalString(std::string path) {
  return lookup(path) != nullptr ? GetString(path) : "";
}

void Settings::SetOptionalString(std::string path, std::string value) {
  if (lookup(path) != nullptr) {
    SetString(path, value);
    return;
  }
  if (value.empty())
    return;
  auto node = std::make_unique<Json>(logger);
  node->SetString(value);
  addOptional(path, value, std::move(node));
}

void Settings::addOptional(const std::string& path, const std::string& shown,
                           std::unique_ptr<Json> node) {
  size_t cut = path.rfind(Separator);
  Json* section = cut == std::string::npos ? nullptr : find(path.substr(0, cut));
  if (section == nullptr || section->GetType() != JsonObject) {
    logger->Write("Settings::SetOptionalString " + path + " has no section.");
    throw "Invalid setting key.";
  }
  logger->Write("Settings::SetOptionalString " + path + " added as " + shown + ".");
  section->SetItem(path.substr(cut + 1), node.release());
  modified = true;
}

int Settings::GetKind(const std::string& path) {
  Json* node = lookup(path);
  return node != nullptr ? node->GetType() : ABSENT;
}

int Settings::GetOptionalInteger(std::string path, int fallback) {
  return lookup(path) != nullptr ? GetInteger(path) : fallback;
}

void Settings::SetOptionalInteger(std::string path, int value) {
  if (lookup(path) != nullptr) {
    SetInteger(path, value);
    return;
  }
  auto node = std::make_unique<Json>(logger);
  node->SetInteger(value);
  addOptional(path, std::to_string(value), std::move(node));
}

bool Settings::IsModified() {
  return modified;
}

void Settings::Save(std::string path) {
  AtomicFile::Result result = AtomicFile::Result::Failed;
  int error = EINVAL;  // nothing loaded
  if (root != nullptr)
    result = AtomicFile::Write(path, root->Serialize(false), &error);
  if (result == AtomicFile::Result::Failed) {
    const char* reason = AtomicFile::Reason(error);
    logger->Write("Can't save settings to " + path + ": " + std::strerror(error) + ".");
    throw reason;
  }
  if (result == AtomicFile::Result::WrittenInPlace)
    logger->Write("Settings::Save could not save " + path +
                  " atomically (no temporary file in its folder); it was written in place.");
}

std::string Settings::Backup() {
  std::string backup = fileName + BACKUP_SUFFIX;
  std::string text;
  struct stat info {};
  if (InputFile::Read(fileName, &text) != nullptr || stat(fileName.c_str(), &info) != 0 ||
      !AtomicFile::Create(backup, text, info.st_mode & 07777)) {
    logger->Write("Settings::Backup cannot copy " + fileName + " to " + backup + ".");
    throw "Backup of the settings failed";
  }
  logger->Write("Settings::Backup " + fileName + " copied to " + backup + ".");
  return backup;
}

void Settings::Save() {
  Save(fileName);
  modified = false;
  InputFile::Read(fileName, &diskText);
}

bool Settings::ChangedOnDisk() const {
  std::string text;
  return InputFile::Read(fileName, &text) != nullptr || text != diskText;
}

bool Settings::IsOwnFile(const std::string& path) const {
  struct stat own {};
  struct stat other {};
  if (stat(fileName.c_str(), &own) != 0 || stat(path.c_str(), &other) != 0)
    return false;
  return own.st_dev == other.st_dev && own.st_ino == other.st_ino;
}
