#include "cli/InitCommand.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const SETTINGS = "Settings.json";
const char* const RESOURCES = "Resources.res";
const char* const PREFIX = "deployer init: ";

// The language of the messages in the environment: LC_ALL, then LC_MESSAGES, then LANG.
std::string environmentLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0')
      return std::string(value).rfind("ru", 0) == 0 ? "ru" : "en";
  }
  return "en";
}

// The shipped resource file of a language.
std::string resourceFile(const std::string& language) {
  return language == "ru" ? "Resources.ru.res" : RESOURCES;
}

bool holdsDefaults(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / SETTINGS, error) &&
         fs::is_regular_file(folder / RESOURCES, error);
}

// Whether anything, a dangling link included, has the name.
bool taken(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

bool copy(const fs::path& from, const fs::path& to, std::ostream& err) {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::none, error);
  if (!error)
    return true;
  err << PREFIX << "cannot copy " << from.string() << " to " << to.string() << ": "
      << error.message() << ".\n";
  return false;
}

// Copies both files into the folder; on a failure nothing of the copy is left.
int copyDefaults(const fs::path& defaults, const fs::path& folder, const std::string& language,
                 std::ostream& out, std::ostream& err) {
  std::error_code error;
  if (!folder.empty() && !fs::is_directory(folder, error) &&
      !fs::create_directories(folder, error) && error) {
    err << PREFIX << "cannot create the folder " << folder.string() << ": " << error.message()
        << ".\n";
    return 1;
  }
  if (!copy(defaults / SETTINGS, folder / SETTINGS, err))
    return 1;
  if (!copy(defaults / resourceFile(language), folder / RESOURCES, err)) {
    fs::remove(folder / SETTINGS, error);
    return 1;
  }
  out << "Created " << (folder / SETTINGS).string() << " and " << (folder / RESOURCES).string()
      << " (" << (language == "ru" ? "Russian" : "English") << " texts).\n";
  return 0;
}

}  // namespace

int InitCommand::Run(const std::string& directory, const std::string& language, std::ostream& out,
                     std::ostream& err) {
  std::string chosen = language.empty() ? environmentLanguage() : language;
  if (chosen != "en" && chosen != "ru") {
    err << PREFIX << "unknown language '" << language << "'; use en or ru.\n";
    return 2;
  }
  fs::path folder(directory);
  for (const char* name : {SETTINGS, RESOURCES}) {
    if (taken(folder / name)) {
      err << PREFIX << (folder / name).string() << " already exists; nothing was changed.\n";
      return 2;
    }
  }
  std::string defaults = DefaultsFolder();
  if (defaults.empty()) {
    err << PREFIX << "the default files were not found in ../share/deployer beside the program.\n";
    return 1;
  }
  return copyDefaults(defaults, folder, chosen, out, err);
}

// Installed, the defaults are in share/deployer beside the program's bin folder; in a build
// tree they are copied to share/deployer in the build folder, beside the program itself and
// beside the folder of the test programs.
std::string InitCommand::DefaultsFolder() {
  std::error_code error;
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error)
    return "";
  fs::path bin = program.parent_path();
  for (const fs::path& folder :
       {bin.parent_path() / "share" / "deployer", bin / "share" / "deployer"})
    if (holdsDefaults(folder))
      return folder.lexically_normal().string();
  return "";
}

std::string InitCommand::MissingFileHint(const std::string& file, const std::string& other) {
  if (taken(file))
    return "";
  if (!taken(other))
    return " Run `deployer init` to create it.";
  std::string defaults = DefaultsFolder();
  if (defaults.empty())
    return "";
  return " A default one is in " + defaults + "/.";
}
