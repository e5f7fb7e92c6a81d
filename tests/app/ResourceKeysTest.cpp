#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Logger.h"
#include "app/Resources.h"

namespace {

const std::string SOURCES = DEPLOYER_SOURCE_DIR "/src";
const std::string LOOKUP = "texts[\"";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool isKey(const std::string& key) {
  if (key.empty() || key[0] < 'A' || key[0] > 'Z')
    return false;
  for (char c : key) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  }
  return true;
}

// The keys of every texts["..."] lookup in the sources, each with the file it is in.
std::multimap<std::string, std::string> lookups() {
  std::multimap<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCES)) {
    if (!entry.is_regular_file())
      continue;
    std::string text = readFile(entry.path());
    for (size_t at = text.find(LOOKUP); at != std::string::npos; at = text.find(LOOKUP, at + 1)) {
      size_t start = at + LOOKUP.size();
      size_t end = text.find("\"]", start);
      found.emplace(text.substr(start, end == std::string::npos ? 0 : end - start),
                    entry.path().filename().string());
    }
  }
  return found;
}

std::map<std::string, std::string> shippedTexts() {
  Logger logger("/nonexistent-folder/log.txt");
  Resources resources(&logger, DEPLOYER_SOURCE_DIR "/share/Resources.res");
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
