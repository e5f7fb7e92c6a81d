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
      {"free text\n#TITLE=[Old]#TITLE=[Main]\n#SPACED =\r\n\t [a #[= b\nline]tail #LAST=[]",
       {{"TITLE", "Main"}, {"SPACED ", "a #[= b\nline"}, {"LAST", ""}},
       ""},
      {longEntry.c_str(), {{key, text}}, ""},  // longer than the read buffer
      {"#OK=[kept]#KEY=[text", {{"OK", "kept"}}, "Unexpected end of file."},
      {"#OK=[kept]#KEY", {{"OK", "kept"}}, "Unexpected end of file."},
      {"#OK=[kept]#KEY= \n", {{"OK", "kept"}}, "Unexpected end of file."},
      {"#OK=[kept]#KEY= x[text]", {{"OK", "kept"}}, "ResourceReadFormat"},
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
