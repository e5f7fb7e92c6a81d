#include "app/Resources.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/Thrown.h"

using Texts = std::map<std::string, std::string>;

TEST(Resources, LoadsEntriesOrFailsWithTheDocumentedText) {
  const std::string key(700, 'K'), text(1000, 't'), longEntry = "#" + key + "=[" + text + "]";
  struct Case {
    const char* content;  // nullptr: no file
    Texts texts;          // entries before a failure stay
    std::string failure;
  } cases[] = {
      {"free text\n#TITLE=[Main]\n#SPACED =\r\n\t [a #[= b\nline]tail #LAST=[]",
       {{"TITLE", "Main"}, {"SPACED ", "a #[= b\nline"}, {"LAST", ""}},
       ""},
      {"", {}, ""},
      {longEntry.c_str(), {{key, text}}, ""},  // longer than the read buffer
      {"#OK=[kept]#KEY=[text", {{"OK", "kept"}}, "Unexpected end of file."},
      {"#KEY= x]", {}, "ResourceReadFormat"},
      {nullptr, {}, "Fail when load resources"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    LogCapture log;
    if (c.content)
      dir.Write("Resources.res", c.content);
    Resources resources(log.Get(), dir.File("Resources.res"));
    EXPECT_EQ(Thrown([&] { resources.Load(); }), c.failure) << c.content;
    EXPECT_EQ(resources.texts, c.texts) << c.content;
  }
}

TEST(Resources, ReloadAddsAndReplacesButKeepsOldKeys) {
  TempDir dir;
  LogCapture log;
  Resources resources(log.Get(), dir.File("Resources.res"));
  dir.Write("Resources.res", "#A=[one]#B=[two]#A=[three]");
  resources.Load();
  EXPECT_EQ(resources.texts["A"], "three");
  dir.Write("Resources.res", "#B=[new]");
  resources.Load();
  EXPECT_EQ(resources.texts, (Texts{{"A", "three"}, {"B", "new"}}));
}
