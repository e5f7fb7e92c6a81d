#include "cli/UpdateTextsCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/Logger.h"
#include "app/ResourceKeys.h"
#include "app/Resources.h"
#include "support/TempDir.h"

namespace {

std::map<std::string, std::string> texts(const std::string& path) {
  Logger logger("");
  Resources resources(&logger, path);
  resources.Load();
  return resources.texts;
}

}  // namespace

// The language of the added texts follows the file's own texts; what the file held stays, its
// comments and a changed text included.
TEST(UpdateTextsCommand, AddsTheMissingTextsOfTheFilesLanguageKeepingWhatItHolds) {
  struct Case {
    const char* content;
    const char* shipped;
  } cases[] = {
      {"", "Resources.res"},
      {"my note\n#MAIN_TITLE=[My own title]", "Resources.res"},
      {"#MAIN_TITLE=[Моё]\n", "Resources.ru.res"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write("Resources.res", c.content);
    std::ostringstream out, err;
    ASSERT_EQ(UpdateTextsCommand::Run(dir.Path(), "", out, err), 0) << err.str();
    std::map<std::string, std::string> updated = texts(dir.File("Resources.res"));
    std::map<std::string, std::string> shipped =
        texts(DEPLOYER_SOURCE_DIR "/share/" + std::string(c.shipped));
    EXPECT_EQ(updated.size(), ResourceKeys::All().size()) << c.content;
    EXPECT_EQ(dir.Read("Resources.res").rfind(c.content, 0), 0u) << "kept as it was";
    for (const auto& [key, text] : updated) {
      if (key != "MAIN_TITLE") {
        EXPECT_EQ(text, shipped[key]) << key;
      }
    }
    std::ostringstream again;
    EXPECT_EQ(UpdateTextsCommand::Run(dir.Path(), "", again, err), 0);
    EXPECT_NE(again.str().find("has every text; nothing was changed"), std::string::npos);
  }
}

TEST(UpdateTextsCommand, WithoutAResourceFileFailsAndCreatesNone) {
  TempDir dir;
  std::ostringstream out, err;
  EXPECT_EQ(UpdateTextsCommand::Run(dir.Path(), "", out, err), 1);
  EXPECT_NE(err.str().find("deployer init"), std::string::npos) << err.str();
  EXPECT_FALSE(std::filesystem::exists(dir.File("Resources.res")));
}
