#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/Logger.h"
#include "app/Resources.h"

namespace {

const std::string SOURCES = DEPLOYER_SOURCE_DIR "/src";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Every resource key the sources name, each with the file it is in: the literal keys of
// texts["..."] lookups, and the literals stored in variables named ...Key, the only variables a
// lookup may use. A lookup through any other expression is kept as "?" + the expression.
bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The literal of a variable named ...Key that starts at (after "Key", spaces, "=", spaces) at.
std::string keyLiteral(const std::string& text, size_t at) {
  at = text.find_first_not_of(' ', at);
  if (at == std::string::npos || text[at] != '=')
    return "";
  at = text.find_first_not_of(' ', at + 1);
  if (at == std::string::npos || text[at] != '"')
    return "";
  size_t end = text.find('"', at + 1);
  return end == std::string::npos ? "" : text.substr(at + 1, end - at - 1);
}

std::multimap<std::string, std::string> lookups() {
  std::multimap<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCES)) {
    if (!entry.is_regular_file())
      continue;
    std::string text = readFile(entry.path()), file = entry.path().filename().string();
    for (size_t at = text.find("texts["); at != std::string::npos; at = text.find("texts[", at)) {
      at += 6;
      std::string inside = text.substr(at, text.find(']', at) - at);
      if (inside.size() > 1 && inside.front() == '"' && inside.back() == '"')
        found.emplace(inside.substr(1, inside.size() - 2), file);
      else if (!endsWith(inside, "Key"))
        found.emplace("?" + inside, file);
    }
    for (size_t at = text.find("Key"); at != std::string::npos; at = text.find("Key", at + 3)) {
      std::string key = keyLiteral(text, at + 3);
      if (!key.empty())
        found.emplace(key, file);
    }
  }
  return found;
}

std::map<std::string, std::string> shippedTexts(const std::string& file = "Resources.res") {
  Logger logger("/nonexistent-folder/log.txt");
  Resources resources(&logger, DEPLOYER_SOURCE_DIR "/share/" + file);
  resources.Load();
  return resources.texts;
}

}  // namespace

TEST(ResourceKeys, EveryLookupInTheSourcesNamesAShippedKey) {
  std::map<std::string, std::string> texts = shippedTexts();
  std::multimap<std::string, std::string> found = lookups();
  EXPECT_FALSE(found.empty());
  for (const auto& [key, file] : found)
    EXPECT_EQ(texts.count(key), 1u) << file << ": " << key << " is not in Resources.res";
}

// The same keys, each with a text of as many lines that keeps a closing blank before the
// program's words.
TEST(ResourceKeys, RussianFileTranslatesEveryKeyWithTheSameShape) {
  std::map<std::string, std::string> english = shippedTexts();
  std::map<std::string, std::string> russian = shippedTexts("Resources.ru.res");
  EXPECT_EQ(russian.size(), english.size());
  auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
  auto open = [](const std::string& text) { return !text.empty() && text.back() == ' '; };
  for (const auto& [key, text] : english) {
    const std::string& translated = russian[key];
    EXPECT_FALSE(translated.empty()) << key;
    EXPECT_EQ(lines(translated), lines(text)) << key;
    EXPECT_EQ(open(translated), open(text)) << key;
  }
}
