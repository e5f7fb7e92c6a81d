#include "app/Settings.h"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

#include "app/AtomicFile.h"
#include "app/Logger.h"
#include "util/Json.h"
#include "util/String.h"

const std::string Settings::Separator = "/";
const std::string Settings::Docker = "Docker";
const std::string Settings::WebServer = "WebServer";
const std::string Settings::Patch = "Patch";
const std::string Settings::Install = "Install";
const std::string Settings::Connection = "Connection";

namespace {

constexpr size_t BUFFER_SIZE = 256;

// Reads a whole file through a fixed buffer; false when it cannot be opened.
bool readFile(const std::string& name, std::string* text) {
  FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr)
    return false;
  char buffer[BUFFER_SIZE];
  size_t count;
  while ((count = std::fread(buffer, 1, BUFFER_SIZE, file)) > 0)
    text->append(buffer, count);
  std::fclose(file);
  return true;
}

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
  std::string text;
  if (!readFile(fileName, &text)) {
    logger->Write("Can't open file " + fileName + " with settings.");
    throw "Fail when load settings";
  }
  Json* loaded = new Json(logger, text);
  if (root != nullptr)
    earlierRoots.emplace_back(root);
  root = loaded;
  modified = false;
  logger->Write("Settings::Load main setting count " + format("%d", root->Count()) + ".");
}

Json* Settings::find(std::string path) {
  Json* node = root;
  for (const std::string& piece : String::Split(path, Separator)) {
    Json* child = node != nullptr ? node->GetItem(piece) : nullptr;
    if (child == nullptr) {
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
  modified |= store(logger, node, "Settings::SetString " + path + " as " + value + ".", value,
                    &Json::GetString, &Json::SetString);
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
  try {
    for (const std::string& piece : String::Split(path, Separator))
      node = node != nullptr ? node->GetItem(piece) : nullptr;
  } catch (const char*) {  // the node holds no such key
    return nullptr;
  }
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
  size_t cut = path.rfind(Separator);
  Json* section = cut == std::string::npos ? nullptr : find(path.substr(0, cut));
  if (section == nullptr || section->GetType() != JsonObject) {
    logger->Write("Settings::SetOptionalString " + path + " has no section.");
    throw "Invalid setting key.";
  }
  logger->Write("Settings::SetOptionalString " + path + " added as " + value + ".");
  auto node = std::make_unique<Json>(logger);
  node->SetString(value);
  section->SetItem(path.substr(cut + 1), node.release());
  modified = true;
}

bool Settings::IsModified() {
  return modified;
}

void Settings::Save(std::string path) {
  if (root == nullptr || !AtomicFile::Write(path, root->Serialize(false))) {
    logger->Write("Can't open file " + path + " to save settings.");
    throw "File not found";
  }
}

void Settings::Save() {
  Save(fileName);
  modified = false;
}

bool Settings::IsOwnFile(const std::string& path) const {
  struct stat own {};
  struct stat other {};
  if (stat(fileName.c_str(), &own) != 0 || stat(path.c_str(), &other) != 0)
    return false;
  return own.st_dev == other.st_dev && own.st_ino == other.st_ino;
}
