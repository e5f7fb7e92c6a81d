#include "app/Resources.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"
#include "util/String.h"

using Texts = std::map<std::string, std::string>;

TEST(Resources, LoadsEntriesOrFailsWithTheDocumentedTextAndLogLine) {
  const std::string key(700, 'K'), text(1000, 't'), longEntry = "#" + key + "=[" + text + "]";
  struct Case {
    const char* content;  // nullptr: no file
    Texts texts = {};     // entries before a failure stay
    std::string failure = "";
    std::string logged = "";  // FILE stands for the path of the file
  } cases[] = {
      {"free text\n#TITLE=[Main]\n#SPACED =\r\n\t [a #[= b\nline]tail #LAST=[]",
       {{"TITLE", "Main"}, {"SPACED ", "a #[= b\nline"}, {"LAST", ""}}},
      {""},
      {"just words\nand lines\n"},
      {"#A=[x] trailing words", {{"A", "x"}}},
      {longEntry.c_str(), {{key, text}}},  // longer than the read buffer
      {"#OK=[kept]#KEY",
       {{"OK", "kept"}},
       "Unexpected end of file.",
       "Resource read state 1 while reading file FILE."},
      {"#OK=[kept]#KEY= ",
       {{"OK", "kept"}},
       "Unexpected end of file.",
       "Resource read state 2 while reading file FILE."},
      {"#OK=[kept]#KEY=[text",
       {{"OK", "kept"}},
       "Unexpected end of file.",
       "Resource read state 3 while reading file FILE."},
      {"#KEY= x]", {}, "ResourceReadFormat", "Resource read unexpected char x wass found inFILE."},
      {nullptr, {}, "Fail when load resources", "Can't open file FILE with resources. "},
  };
  for (const Case& c : cases) {
    TempDir dir;
    LogCapture log;
    if (c.content)
      dir.Write("Resources.res", c.content);
    Resources resources(log.Get(), dir.File("Resources.res"));
    std::string failure = Thrown([&] { resources.Load(); });
    std::string logged = String::Replace(c.logged, "FILE", dir.File("Resources.res"));
    EXPECT_EQ(failure, c.failure) << c.content;
    EXPECT_EQ(resources.texts, c.texts) << c.content;
    EXPECT_EQ(log.Take(), logged.empty() ? std::vector<std::string>{} : std::vector{logged});
  }
}

TEST(Resources, ReloadAddsAndReplacesButKeepsOldKeys) {
  TempDir dir;
  LogCapture log;
  Resources resources(log.Get(), dir.File("Resources.res"));
  dir.Write("Resources.res", "#A=[one]#B=[two]#A=[three]");
  resources.Load();
  EXPECT_EQ(resources.texts["A"], "three");
  EXPECT_EQ(resources.texts["MISSING"], "");
  dir.Write("Resources.res", "#B=[new]");
  resources.Load();
  EXPECT_EQ(resources.texts, (Texts{{"A", "three"}, {"B", "new"}, {"MISSING", ""}}));
}
