#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/Logger.h"
#include "app/ResourceKeys.h"
#include "app/Resources.h"

namespace {

// Every resource key the sources name, each with the file it is in: the literal keys of
// texts["..."] lookups, and the literals assigned to variables named ...Key, the only variables a
// lookup may use. A lookup through any other expression is kept as "?" + the expression.
std::multimap<std::string, std::string> lookups() {
  std::multimap<std::string, std::string> found;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(DEPLOYER_SOURCE_DIR "/src")) {
    if (!entry.is_regular_file())
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}}, file = entry.path().filename();
    for (size_t at = text.find("texts["); at != std::string::npos; at = text.find("texts[", at)) {
      at += 6;
      std::string inside = text.substr(at, text.find(']', at) - at);
      if (inside.size() > 1 && inside.front() == '"' && inside.back() == '"')
        found.emplace(inside.substr(1, inside.size() - 2), file);
      else if (inside.size() < 3 || inside.compare(inside.size() - 3, 3, "Key") != 0)
        found.emplace("?" + inside, file);
    }
    for (size_t at = text.find("Key = \""); at != std::string::npos;
         at = text.find("Key = \"", at)) {
      at += 7;
      std::string key = text.substr(at, text.find('"', at) - at);
      if (!key.empty())  // no such button
        found.emplace(key, file);
    }
  }
  return found;
}

std::map<std::string, std::string> shippedTexts(const std::string& file) {
  Logger logger("");
  Resources resources(&logger, DEPLOYER_SOURCE_DIR "/share/" + file);
  resources.Load();
  return resources.texts;
}

}  // namespace

// The compiled-in list is the shipped file's keys, and holds every key the sources look up.
TEST(ResourceKeys, EveryLookupInTheSourcesNamesAListedAndShippedKey) {
  std::map<std::string, std::string> texts = shippedTexts("Resources.res");
  std::vector<std::string> shipped;
  for (const auto& entry : texts)
    shipped.push_back(entry.first);
  EXPECT_EQ(ResourceKeys::All(), shipped);
  EXPECT_TRUE(ResourceKeys::Missing(texts).empty());
  std::multimap<std::string, std::string> found = lookups();
  EXPECT_GT(found.size(), 10u);
  for (const auto& [key, file] : found)
    EXPECT_TRUE(std::binary_search(shipped.begin(), shipped.end(), key))
        << file << ": " << key << " is not in Resources.res";
}

// The same keys, each with a text of as many lines that keeps a closing blank before the
// program's words.
TEST(ResourceKeys, RussianFileTranslatesEveryKeyWithTheSameShape) {
  std::map<std::string, std::string> english = shippedTexts("Resources.res");
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

// Missing names exactly the keys a file lacks, wherever they and any keys of its own stand.
TEST(ResourceKeys, MissingNamesTheLackingKeysAmongKeysOfTheFilesOwn) {
  const std::vector<std::string>& all = ResourceKeys::All();
  const std::vector<std::string> lacking[] = {
      {}, {all.front()}, {all[1], all[all.size() / 2]}, {all.back()}, all};
  for (const auto& lacks : lacking) {
    std::map<std::string, std::string> texts = {{"", ""}, {"A", ""}, {"B_OWN", ""}, {"~", ""}};
    for (const std::string& key : all)
      if (std::find(lacks.begin(), lacks.end(), key) == lacks.end())
        texts[key] = "text";
    EXPECT_EQ(ResourceKeys::Missing(texts), lacks) << lacks.size();
  }
}
