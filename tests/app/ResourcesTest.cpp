#include "app/Resources.h"

#include <gtest/gtest.h>

#include "app/Logger.h"
#include "support/TempDir.h"

namespace {

// The outcome of loading one resource file: the thrown text ("" on success), log and map.
struct Loaded {
  TempDir dir;
  std::string failure;
  std::string log;
  std::map<std::string, std::string> texts;
};

void load(Loaded& result, const std::string& content) {
  result.dir.Write("Resources.res", content);
  {
    Logger logger(result.dir.File("log.txt"));
    Resources resources(&logger, result.dir.File("Resources.res"));
    try {
      resources.Load();
    } catch (const char* message) {
      result.failure = message;
    }
    result.texts = resources.texts;
  }
  result.log = result.dir.Read("log.txt");
}

}  // namespace

TEST(Resources, ReadsEntriesByteForByteAroundFreeText) {
  Loaded result;
  load(result, "free text\n#TITLE=[Main]\n#SPACED =\r\n\t [a #[= b\nline]tail #LAST=[]");
  EXPECT_EQ(result.failure, "");
  std::map<std::string, std::string> expected = {
      {"TITLE", "Main"}, {"SPACED ", "a #[= b\nline"}, {"LAST", ""}};
  EXPECT_EQ(result.texts, expected);
}

TEST(Resources, LoadsEmptyAndCommentOnlyFiles) {
  for (const char* content : {"", "just words\nand lines\n", "#A=[x] trailing words"}) {
    Loaded result;
    load(result, content);
    EXPECT_EQ(result.failure, "") << content;
  }
}

TEST(Resources, ReportsTheStateWhereTheFileEnds) {
  struct Case {
    const char* content;
    const char* state;
  } cases[] = {{"#KEY", "1"}, {"#KEY= ", "2"}, {"#KEY=[text", "3"}};
  for (const Case& c : cases) {
    Loaded result;
    load(result, std::string("#OK=[kept]") + c.content);
    EXPECT_EQ(result.failure, "Unexpected end of file.") << c.content;
    EXPECT_NE(result.log.find("Resource read state " + std::string(c.state) +
                              " while reading file " + result.dir.File("Resources.res") + "."),
              std::string::npos)
        << result.log;
    EXPECT_EQ(result.texts["OK"], "kept");  // entries before the failure stay
  }
}

TEST(Resources, RejectsATextWithoutOpeningBracket) {
  Loaded result;
  load(result, "#KEY= x]");
  EXPECT_EQ(result.failure, "ResourceReadFormat");
  EXPECT_NE(result.log.find("Resource read unexpected char x wass found in" +
                            result.dir.File("Resources.res") + "."),
            std::string::npos);
}

TEST(Resources, ReportsAMissingFile) {
  TempDir dir;
  {
    Logger logger(dir.File("log.txt"));
    Resources resources(&logger, dir.File("none.res"));
    try {
      resources.Load();
      FAIL() << "no failure";
    } catch (const char* message) {
      EXPECT_STREQ(message, "Fail when load resources");
    }
  }
  EXPECT_NE(
      dir.Read("log.txt").find("Can't open file " + dir.File("none.res") + " with resources. "),
      std::string::npos);
}

TEST(Resources, ReloadAddsAndReplacesButKeepsOldKeys) {
  TempDir dir;
  Logger logger(dir.File("log.txt"));
  Resources resources(&logger, dir.File("Resources.res"));
  dir.Write("Resources.res", "#A=[one]#B=[two]#A=[three]");
  resources.Load();
  EXPECT_EQ(resources.texts["A"], "three");
  EXPECT_EQ(resources.texts["MISSING"], "");
  dir.Write("Resources.res", "#B=[new]");
  resources.Load();
  std::map<std::string, std::string> expected = {{"A", "three"}, {"B", "new"}, {"MISSING", ""}};
  EXPECT_EQ(resources.texts, expected);
}

TEST(Resources, ReadsLongKeysAndTextsAcrossTheBuffer) {
  std::string key(700, 'K'), text(1000, 't');
  Loaded result;
  load(result, "#" + key + "=[" + text + "]");
  EXPECT_EQ(result.texts[key], text);
}
