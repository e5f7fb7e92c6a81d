#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>
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
  Parsed deploy = parse({"-C", "/srv/app", "deploy", "--no-runtime", "--dry-run"});
  ASSERT_TRUE(deploy.ok) << deploy.error;
  EXPECT_EQ(deploy.options.directory, "/srv/app");
  EXPECT_EQ(deploy.options.command, Command::Deploy);
  EXPECT_TRUE(!deploy.options.choices.installDocker && deploy.options.dryRun);
  EXPECT_FALSE(!deploy.options.choices.installWebServer || deploy.options.yes);

  Parsed set = parse({"set", "Install/Port", "-5", "Patch/Url", "--yes"});
  ASSERT_TRUE(set.ok) << set.error;
  std::vector<std::pair<std::string, std::string>> pairs = {{"Install/Port", "-5"},
                                                            {"Patch/Url", "--yes"}};
  EXPECT_EQ(set.options.assignments, pairs);
  EXPECT_EQ(parse({"migrate", "old/Settings.json"}).options.choices.migratePath,
            "old/Settings.json");
  EXPECT_EQ(parse({"--wait", "10", "set", "Install/Port", "1"}).options.waitSeconds, 10);
  EXPECT_EQ(parse({"deploy", "--wait=0.5"}).options.waitSeconds, 0.5);
  EXPECT_EQ(parse({"update", "--step-timeout", "90"}).options.choices.stepTimeout, 90);
  EXPECT_EQ(parse({"delete", "--step-timeout=604800"}).options.choices.stepTimeout, 604800);
  EXPECT_EQ(parse({"check", "--json"}).options.checkAction, "deploy");
  Parsed check = parse({"check", "rollback", "--json"});
  EXPECT_TRUE(check.ok && check.options.json && check.options.checkAction == "rollback");
  EXPECT_TRUE(parse({"delete", "--no-preflight"}).options.noPreflight);

  Parsed history = parse({"history", "-n", "5", "--json"});
  ASSERT_TRUE(history.ok) << history.error;
  EXPECT_TRUE(history.options.json && history.options.count == 5);
  EXPECT_EQ(parse({"rollback", "24.2.0.7"}).options.choices.rollbackVersion, "24.2.0.7");
  EXPECT_FALSE(parse({"update", "--no-rollback"}).options.choices.rollBack);
}

TEST(CommandLine, TakesCombinedShortOptionsAndDoubleDashAsGetoptDoes) {
  Parsed glued = parse({"-C/srv/app", "--", "history", "-n5"});
  ASSERT_TRUE(glued.ok) << glued.error;
  EXPECT_EQ(glued.options.directory, "/srv/app");
  EXPECT_EQ(glued.options.command, Command::History);
  EXPECT_EQ(glued.options.count, 5);
  Parsed both = parse({"-hV"});
  EXPECT_TRUE(both.ok && both.options.help && both.options.version);
  EXPECT_EQ(parse({"init", "-C/srv/app"}).options.directory, "/srv/app");
  EXPECT_EQ(parse({"-hx"}).error, "unknown option '-x'");
}

TEST(CommandLine, HelpFitsEightyColumns) {
  std::istringstream help(CommandLine::Help());
  for (std::string line; std::getline(help, line);)
    EXPECT_LE(line.size(), 80u) << line;
}

TEST(CommandLine, ConfirmationIsNeededOnlyForARealRemoval) {
  EXPECT_TRUE(parse({"delete"}).options.NeedsConfirmation());
  EXPECT_FALSE(parse({"delete", "--dry-run"}).options.NeedsConfirmation());
  EXPECT_TRUE(parse({"migrate", "f", "--delete-source"}).options.NeedsConfirmation());
  EXPECT_FALSE(parse({"migrate", "f"}).options.NeedsConfirmation());
}

TEST(CommandLine, RefusesWhatACommandDoesNotTakeNamingIt) {
  struct Case {
    std::vector<const char*> arguments;
    const char* error;
  } cases[] = {
      {{"update", "--yes"}, "unknown option '--yes' for update"},
      {{"deploy", "now"}, "unexpected argument 'now' for deploy"},
      {{"set", "Install/Port"}, "set needs pairs of PATH and VALUE"},
      {{"migrate"}, "migrate needs the settings FILE"},
      {{"get"}, "get needs a PATH"},
      {{"show", "--wait", "1"}, "unknown option '--wait' for show"},
      {{"show", "-C", "x"}, "unknown option '-C' for show"},
      {{"check", "migrate"},
       "unknown action 'migrate' for check (deploy, update, rollback or delete)"},
      {{"check", "--no-preflight"}, "unknown option '--no-preflight' for check"},
      {{"--wait=1e3", "update"},
       "option '--wait' needs a number of seconds from 0 to 86400, not '1e3'"},
      {{"show", "--step-timeout", "5"}, "unknown option '--step-timeout' for show"},
      {{"deploy", "--step-timeout=604801"},
       "option '--step-timeout' needs whole seconds from 1 to 604800, not '604801'"},
      {{"deploy", "--step-timeout"}, "option '--step-timeout' needs a number of seconds"},
      {{"history", "-n", "0"}, "option '-n' needs a number above zero"},
      {{"rollback", "1.0", "2.0"}, "unexpected argument '2.0' for rollback"},
      {{"status", "--dry-run"}, "unknown option '--dry-run' for status"},
  };
  for (const Case& c : cases) {
    Parsed parsed = parse(c.arguments);
    EXPECT_FALSE(parsed.ok) << c.arguments[0];
    EXPECT_EQ(parsed.error, c.error);
  }
}
