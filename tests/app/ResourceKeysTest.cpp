#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/Logger.h"
#include "app/Resources.h"

namespace {

const std::string SOURCES = DEPLOYER_SOURCE_DIR "/src";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool isKey(const std::string& key) {
  return !key.empty() && key[0] >= 'A' && key[0] <= 'Z' &&
         key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string::npos;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The name that ends just before position end of text (letters, digits, underscores).
std::string nameBefore(const std::string& text, size_t end) {
  while (end > 0 && text[end - 1] == ' ')
    end--;
  size_t start = end;
  while (start > 0 &&
         (std::isalnum(static_cast<unsigned char>(text[start - 1])) || text[start - 1] == '_'))
    start--;
  return text.substr(start, end - start);
}

// Every resource key the sources name, each with the file it is in: the literal keys of
// texts["..."] lookups, and the literals stored in variables named ...Key, the only variables a
// lookup may use. A lookup through any other expression is kept as "?" + the expression.
void scan(const std::string& text, const std::string& file,
          std::multimap<std::string, std::string>* found) {
  const std::string lookup = "texts[";
  for (size_t at = text.find(lookup); at != std::string::npos; at = text.find(lookup, at + 1)) {
    size_t start = at + lookup.size();
    size_t end = text.find(']', start);
    std::string inside = text.substr(start, end == std::string::npos ? 0 : end - start);
    if (inside.size() >= 2 && inside.front() == '"' && inside.back() == '"')
      found->emplace(inside.substr(1, inside.size() - 2), file);
    else if (!endsWith(inside, "Key"))
      found->emplace("?" + inside, file);
  }
  const std::string assignment = "= \"";
  for (size_t at = text.find(assignment); at != std::string::npos;
       at = text.find(assignment, at + 1)) {
    size_t start = at + assignment.size();
    size_t end = text.find('"', start);
    if (endsWith(nameBefore(text, at), "Key") && end != std::string::npos && end > start)
      found->emplace(text.substr(start, end - start), file);
  }
}

std::multimap<std::string, std::string> lookups() {
  std::multimap<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCES)) {
    if (entry.is_regular_file())
      scan(readFile(entry.path()), entry.path().filename().string(), &found);
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
  for (const auto& [key, file] : found) {
    EXPECT_TRUE(isKey(key)) << file << ": texts[\"" << key << "\"] is no upper-case key";
    EXPECT_EQ(texts.count(key), 1u) << file << ": " << key << " is not in Resources.res";
  }
}

TEST(ResourceKeys, ShippedFileGivesEveryEntryAText) {
  std::map<std::string, std::string> texts = shippedTexts();
  EXPECT_GT(texts.size(), 100u);
  for (const auto& [key, text] : texts) {
    EXPECT_TRUE(isKey(key)) << "key '" << key << "'";
    EXPECT_FALSE(text.empty()) << key;
  }
}

TEST(ResourceKeys, RussianFileTranslatesEveryKeyWithTheSameLineBreaks) {
  std::map<std::string, std::string> english = shippedTexts();
  std::map<std::string, std::string> russian = shippedTexts("Resources.ru.res");
  auto keys = [](const std::map<std::string, std::string>& texts) {
    std::vector<std::string> names;
    for (const auto& entry : texts)
      names.push_back(entry.first);
    return names;
  };
  EXPECT_EQ(keys(russian), keys(english));
  auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
  for (const auto& [key, text] : russian) {
    EXPECT_FALSE(text.empty()) << key;
    EXPECT_EQ(lines(text), lines(english[key])) << key;
    // A text that runs on into the program's words keeps the blank before them.
    bool open = !english[key].empty() && english[key].back() == ' ';
    EXPECT_EQ(!text.empty() && text.back() == ' ', open) << key;
  }
}
