#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Parsed {
  bool ok;
  CommandLineOptions options;
  std::string error;
};

Parsed parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "deployer");
  Parsed parsed;
  parsed.ok = CommandLine::Parse(static_cast<int>(arguments.size()), arguments.data(),
                                 &parsed.options, &parsed.error);
  return parsed;
}

}  // namespace

TEST(CommandLine, ReadsEachCommandWithItsOptionsAndOperands) {
  Parsed deploy =
      parse({"-C", "/srv/app", "deploy", "--no-runtime", "--dry-run", "--ignore-certs"});
  ASSERT_TRUE(deploy.ok) << deploy.error;
  EXPECT_EQ(deploy.options.directory, "/srv/app");
  EXPECT_EQ(deploy.options.command, "deploy");
  EXPECT_TRUE(deploy.options.noRuntime && deploy.options.dryRun && deploy.options.ignoreCerts);
  EXPECT_FALSE(deploy.options.noWebServer || deploy.options.yes);

  Parsed migrate =
      parse({"--directory=x", "migrate", "--yes", "old/Settings.json", "--delete-source"});
  ASSERT_TRUE(migrate.ok) << migrate.error;
  EXPECT_EQ(migrate.options.directory, "x");
  EXPECT_EQ(migrate.options.migrateFile, "old/Settings.json");
  EXPECT_TRUE(migrate.options.deleteSource && migrate.options.yes);
  EXPECT_TRUE(migrate.options.NeedsConfirmation());

  Parsed set = parse({"set", "Install/Port", "-5", "Patch/Url", "--yes"});
  ASSERT_TRUE(set.ok) << set.error;
  std::vector<std::pair<std::string, std::string>> pairs = {{"Install/Port", "-5"},
                                                            {"Patch/Url", "--yes"}};
  EXPECT_EQ(set.options.assignments, pairs);

  Parsed init = parse({"init", "--lang", "ru", "-C", "new"});
  ASSERT_TRUE(init.ok) << init.error;
  EXPECT_EQ(init.options.language, "ru");
  EXPECT_EQ(init.options.directory, "new");
  EXPECT_EQ(parse({"get", "WebServer/Port"}).options.path, "WebServer/Port");
  EXPECT_TRUE(parse({"delete", "--help"}).options.help);
  EXPECT_TRUE(parse({"-V"}).options.version);
}

TEST(CommandLine, ConfirmationIsNeededOnlyForARealRemoval) {
  struct Case {
    std::vector<const char*> arguments;
    bool needed;
  } cases[] = {
      {{"delete"}, true},
      {{"delete", "--dry-run"}, false},
      {{"migrate", "f", "--delete-source"}, true},
      {{"deploy"}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(parse(c.arguments).options.NeedsConfirmation(), c.needed) << c.arguments[0];
}

TEST(CommandLine, RefusesWhatACommandDoesNotTakeNamingIt) {
  struct Case {
    std::vector<const char*> arguments;
    const char* error;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"frob"}, "unknown command 'frob'"},
      {{"-C"}, "option '-C' needs a folder"},
      {{"update", "--yes"}, "unknown option '--yes' for update"},
      {{"deploy", "now"}, "unexpected argument 'now' for deploy"},
      {{"migrate"}, "migrate needs the settings FILE"},
      {{"set", "Install/Port"}, "set needs pairs of PATH and VALUE"},
      {{"init", "--lang", "de"}, "unknown language 'de' (en or ru)"},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(c.arguments);
    EXPECT_FALSE(parsed.ok) << c.arguments[0];
    EXPECT_EQ(parsed.error, c.error);
  }
}
