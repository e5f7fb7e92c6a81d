#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

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

// Every texts[...] lookup in the sources, keyed by "file: lookup".
std::map<std::string, std::string> lookups() {
  std::map<std::string, std::string> found;
  std::regex lookup(R"(texts\s*\[([^\]]*)\])");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCES)) {
    if (!entry.is_regular_file())
      continue;
    std::string text = readFile(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), lookup), end; it != end; ++it)
      found[entry.path().filename().string() + ": " + it->str()] = (*it)[1].str();
  }
  return found;
}

}  // namespace

TEST(ResourceKeys, EveryLookupInTheSourcesNamesAShippedKey) {
  Logger logger("/nonexistent-folder/log.txt");
  Resources resources(&logger, DEPLOYER_SOURCE_DIR "/share/Resources.res");
  resources.Load();
  std::regex literal("\"([A-Z][A-Z0-9_]*)\"");
  std::smatch key;
  for (const auto& [where, argument] : lookups()) {
    ASSERT_TRUE(std::regex_match(argument, key, literal))
        << where << ": look texts up with a literal upper-case key";
    EXPECT_EQ(resources.texts.count(key[1].str()), 1u) << where << " is not in Resources.res";
  }
}

TEST(ResourceKeys, ShippedFileGivesEveryEntryAText) {
  Logger logger("/nonexistent-folder/log.txt");
  Resources resources(&logger, DEPLOYER_SOURCE_DIR "/share/Resources.res");
  resources.Load();
  EXPECT_GT(resources.texts.size(), 100u);
  for (const auto& [key, text] : resources.texts) {
    EXPECT_TRUE(std::regex_match(key, std::regex("[A-Z][A-Z0-9_]*"))) << "key '" << key << "'";
    EXPECT_FALSE(text.empty()) << key;
  }
}
