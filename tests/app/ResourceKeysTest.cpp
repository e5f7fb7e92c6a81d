#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

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
std::multimap<std::string, std::string> lookups() {
  const std::regex lookup(R"(texts\[([^\]]*)\])"), literal(R"x("(.*)")x"), variable(".*Key"),
      keyVariable(R"x(\w*Key *= "([^"]+)")x");
  std::multimap<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SOURCES)) {
    if (!entry.is_regular_file())
      continue;
    std::string text = readFile(entry.path()), file = entry.path().filename().string();
    for (std::sregex_iterator at(text.begin(), text.end(), lookup), end; at != end; ++at) {
      std::string inside = (*at)[1];
      std::smatch key;
      if (std::regex_match(inside, key, literal))
        found.emplace(key[1], file);
      else if (!std::regex_match(inside, variable))
        found.emplace("?" + inside, file);
    }
    for (std::sregex_iterator at(text.begin(), text.end(), keyVariable), end; at != end; ++at)
      found.emplace((*at)[1], file);
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
