#include "cli/UpdateTextsCommand.h"

#include <filesystem>
#include <map>

#include "app/AtomicFile.h"
#include "app/InputFile.h"
#include "app/Logger.h"
#include "app/Resources.h"
#include "cli/InitCommand.h"

namespace {

using Texts = std::map<std::string, std::string>;

const char* const PREFIX = "deployer init: ";

// The texts of a resource file; false (with the reason in err) when it cannot be read.
bool readTexts(const std::string& path, Texts* texts, std::ostream& err) {
  Logger logger("");
  Resources resources(&logger, path);
  try {
    resources.Load();
  } catch (const char* reason) {
    err << PREFIX << "cannot read " << path << " (" << reason << "); nothing was changed.\n";
    return false;
  }
  *texts = resources.texts;
  return true;
}

// Cyrillic letters are two bytes in UTF-8, the first 0xD0 or 0xD1.
bool holdsCyrillic(const Texts& texts) {
  for (const auto& entry : texts)
    for (unsigned char byte : entry.second)
      if (byte == 0xD0 || byte == 0xD1)
        return true;
  return false;
}

std::string entries(const Texts& defaults, const Texts& present, size_t* added) {
  std::string text;
  *added = 0;
  for (const auto& [key, value] : defaults) {
    if (present.count(key) != 0)
      continue;
    text.append("#").append(key).append("=[").append(value).append("]\n");
    ++*added;
  }
  return text;
}

}  // namespace

int UpdateTextsCommand::Run(const std::string& directory, const std::string& language,
                            std::ostream& out, std::ostream& err) {
  std::string path = (std::filesystem::path(directory) / "Resources.res").string();
  std::string content;
  if (InputFile::Read(path, &content) != nullptr) {
    err << PREFIX << path << " cannot be read; `deployer init` creates a working folder.\n";
    return 1;
  }
  Texts present;
  Texts defaults;
  if (!readTexts(path, &present, err))
    return 1;
  bool russian = language.empty() ? holdsCyrillic(present) : language == "ru";
  std::string folder = InitCommand::DefaultsFolder();
  if (folder.empty()) {
    err << PREFIX << "the default files were not found in ../share/deployer beside the program.\n";
    return 1;
  }
  if (!readTexts(folder + (russian ? "/Resources.ru.res" : "/Resources.res"), &defaults, err))
    return 1;
  size_t added = 0;
  std::string missing = entries(defaults, present, &added);
  if (added == 0) {
    out << path << " has every text; nothing was changed.\n";
    return 0;
  }
  if (!content.empty() && content.back() != '\n')
    content += '\n';
  int error = 0;
  if (AtomicFile::Write(path, content + missing, &error) == AtomicFile::Result::Failed) {
    err << PREFIX << "cannot write " << path << ": " << AtomicFile::Reason(error) << ".\n";
    return 1;
  }
  out << "Added " << added << " texts to " << path << " (" << (russian ? "Russian" : "English")
      << ").\n";
  return 0;
}
