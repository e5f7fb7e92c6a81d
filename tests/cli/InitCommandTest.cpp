#include "cli/InitCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "support/TempDir.h"
#include "support/WorkingDirectory.h"

namespace {

const std::string SHARE = DEPLOYER_SOURCE_DIR "/share/";

// Sets the locale variables for its lifetime (an empty value unsets one) and restores them.
class Locale {
 public:
  explicit Locale(const std::map<std::string, std::string>& values) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      const char* old = std::getenv(name);
      if (old)
        saved[name] = old;
      auto value = values.find(name);
      if (value != values.end() && !value->second.empty())
        setenv(name, value->second.c_str(), 1);
      else
        unsetenv(name);
    }
  }
  ~Locale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      auto old = saved.find(name);
      if (old != saved.end())
        setenv(name, old->second.c_str(), 1);
      else
        unsetenv(name);
    }
  }

 private:
  std::map<std::string, std::string> saved;
};

std::string shipped(const std::string& name) {
  TempDir reader;
  std::filesystem::copy_file(SHARE + name, reader.File(name));
  return reader.Read(name);
}

struct Outcome {
  int status;
  std::string out, err;
};

Outcome init(const std::string& directory, const std::string& language) {
  std::ostringstream out, err;
  int status = InitCommand::Run(directory, language, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace

TEST(InitCommand, CopiesTheSettingsAndTheTextsOfTheChosenOrEnvironmentLanguage) {
  struct Case {
    std::string language;
    std::map<std::string, std::string> environment;
    const char* resources;
  } cases[] = {
      {"en", {{"LANG", "ru_RU.UTF-8"}}, "Resources.res"},
      {"ru", {{"LANG", "C"}}, "Resources.ru.res"},
      {"", {{"LC_MESSAGES", "ru_UA"}, {"LANG", "en_GB.UTF-8"}}, "Resources.ru.res"},
      {"", {{"LC_ALL", "C.UTF-8"}, {"LC_MESSAGES", "ru_RU"}, {"LANG", "ru_RU"}}, "Resources.res"},
  };
  for (const Case& c : cases) {
    Locale locale(c.environment);
    TempDir dir;
    std::string folder = dir.File("new/app");
    Outcome outcome = init(folder, c.language);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_NE(outcome.out.find(folder + "/Resources.res"), std::string::npos) << outcome.out;
    EXPECT_EQ(dir.Read("new/app/Settings.json"), shipped("Settings.json"));
    EXPECT_EQ(dir.Read("new/app/Resources.res"), shipped(c.resources)) << c.resources;
  }
}

TEST(InitCommand, WithoutAFolderFillsTheCurrentOne) {
  TempDir dir;
  WorkingDirectory inside(dir.Path());
  Outcome outcome = init("", "en");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "Created Settings.json and Resources.res (English texts).\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("Settings.json")));
}

TEST(InitCommand, RefusesToReplaceAnyFileAndChangesNothing) {
  const char* names[] = {"Settings.json", "Resources.res"};
  for (const char* present : names) {
    for (bool dangling : {false, true}) {
      TempDir dir;
      if (dangling)
        std::filesystem::create_symlink(dir.File("nowhere"), dir.File(present));
      else
        dir.Write(present, "mine");
      Outcome outcome = init(dir.Path(), "ru");
      EXPECT_EQ(outcome.status, 2) << present;
      EXPECT_EQ(outcome.out, "");
      EXPECT_EQ(outcome.err,
                "deployer init: " + dir.File(present) + " already exists; nothing was changed.\n");
      if (!dangling) {
        EXPECT_EQ(dir.Read(present), "mine");
      }
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    }
  }
}

TEST(InitCommand, RefusesAnUnknownLanguageAndReportsAFolderItCannotMake) {
  TempDir dir;
  Outcome unknown = init(dir.File("app"), "de");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "deployer init: unknown language 'de'; use en or ru.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("app")));

  dir.Write("plain", "a file, not a folder");
  Outcome blocked = init(dir.File("plain/app"), "en");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(
      blocked.err.rfind("deployer init: cannot create the folder " + dir.File("plain/app"), 0), 0u)
      << blocked.err;
}
