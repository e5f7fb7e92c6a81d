#include "cli/CommandLine.h"

#include <cstdlib>
#include <map>
#include <set>

#include "app/WindowAction.h"
#include "preflight/Preflight.h"

namespace {

// What each flag sets in the options.
using Flag = void (*)(CommandLineOptions*);

const std::map<std::string, Flag> FLAGS = {
    {"--dry-run", [](CommandLineOptions* o) { o->dryRun = true; }},
    {"--yes", [](CommandLineOptions* o) { o->yes = true; }},
    {"--no-runtime", [](CommandLineOptions* o) { o->choices.installDocker = false; }},
    {"--no-web-server", [](CommandLineOptions* o) { o->choices.installWebServer = false; }},
    {"--ignore-certs", [](CommandLineOptions* o) { o->choices.ignoreCerts = true; }},
    {"--keep-downloads", [](CommandLineOptions* o) { o->choices.keepDownloads = true; }},
    {"--delete-source", [](CommandLineOptions* o) { o->choices.migrateDelete = true; }},
    {"--update-texts", [](CommandLineOptions* o) { o->updateTexts = true; }},
    {"--json", [](CommandLineOptions* o) { o->json = true; }},
    {"--no-preflight", [](CommandLineOptions* o) { o->noPreflight = true; }},
    {"--no-rollback", [](CommandLineOptions* o) { o->choices.rollBack = false; }},
};

// An option with a value: the seconds one command of an action may run.
const char* const STEP_TIMEOUT = "--step-timeout";
const int LONGEST_STEP_TIMEOUT = 7 * 24 * 3600;

// The one list of commands.
const std::vector<CommandInfo> COMMANDS = {
    {Command::Interface, "", {}, 0, false, WindowAction::NO_ACTION, true},
    {Command::Deploy,
     "deploy",
     {"--no-runtime", "--no-web-server", "--ignore-certs", "--keep-downloads", "--dry-run",
      "--no-preflight", STEP_TIMEOUT},
     0,
     false,
     WindowAction::DEPLOY,
     true},
    {Command::Update,
     "update",
     {"--no-rollback", "--dry-run", "--no-preflight", STEP_TIMEOUT},
     0,
     false,
     WindowAction::UPDATE,
     true},
    {Command::Delete,
     "delete",
     {"--yes", "--dry-run", "--no-preflight", STEP_TIMEOUT},
     0,
     false,
     WindowAction::DELETE,
     true},
    {Command::Migrate,
     "migrate",
     {"--delete-source", "--yes", "--dry-run", STEP_TIMEOUT},
     1,
     false,
     WindowAction::MIGRATE,
     true},
    {Command::Show, "show", {}, 0, false, WindowAction::NO_ACTION, false},
    {Command::Get, "get", {}, 1, false, WindowAction::NO_ACTION, false},
    {Command::Set, "set", {}, -1, false, WindowAction::NO_ACTION, true},
    {Command::Init, "init", {"--update-texts"}, 0, true, WindowAction::NO_ACTION, true},
    {Command::Check,
     "check",
     {"--json", "--no-runtime", "--no-web-server", "--ignore-certs"},
     1,
     false,
     WindowAction::NO_ACTION,
     false,
     true},
    {Command::Status, "status", {"--json"}, 0, false, WindowAction::NO_ACTION, false},
    {Command::History, "history", {"--json", "-n"}, 0, false, WindowAction::NO_ACTION, false},
    {Command::Rollback,
     "rollback",
     {"--dry-run", "--no-preflight", STEP_TIMEOUT},
     1,
     false,
     WindowAction::ROLLBACK,
     true,
     true},
};

const CommandInfo* findCommand(const std::string& name) {
  for (const CommandInfo& info : COMMANDS)
    if (!name.empty() && name == info.name)
      return &info;
  return nullptr;
}

const char* const USAGE =
    "usage: deployer [-C DIR] [--wait SECONDS] [COMMAND [OPTIONS]]  (--help for more)\n";

const char* const HELP =
    "usage: deployer [-C DIR] [--wait SECONDS] [COMMAND [OPTIONS]]\n"
    "\n"
    "Without a command, deployer opens its full-screen interface in the working\n"
    "folder.\n"
    "\n"
    "Commands:\n"
    "  deploy [--no-runtime] [--no-web-server] [--ignore-certs] [--keep-downloads]\n"
    "         [--step-timeout SECONDS] [--no-preflight] [--dry-run]\n"
    "                        install the container runtime and the web server,\n"
    "                        then deploy the application patch\n"
    "  update [--no-rollback] [--dry-run] [--no-preflight]\n"
    "                        update the application to the configured patch; a failed\n"
    "                        update returns to the previous good release unless\n"
    "                        --no-rollback is given\n"
    "  delete --yes [--dry-run] [--no-preflight]\n"
    "                        remove the application, the web server and the runtime\n"
    "  migrate FILE [--delete-source --yes] [--dry-run]\n"
    "                        take over the settings of another installation's\n"
    "                        settings file; --delete-source also removes that\n"
    "                        installation\n"
    "  show                  print every setting as Path=value\n"
    "  get PATH              print one setting\n"
    "  set PATH VALUE [PATH VALUE ...]\n"
    "                        check and store settings; prints 'Path: old -> new'\n"
    "                        per change\n"
    "  init [-C DIR] [--lang en|ru]\n"
    "                        create a working folder with the default files\n"
    "  init --update-texts [-C DIR] [--lang en|ru]\n"
    "                        add the texts that Resources.res lacks (after an\n"
    "                        upgrade)\n"
    "  check [--json] [--no-runtime] [--no-web-server] [--ignore-certs] [ACTION]\n"
    "                        check everything ACTION (deploy, the default, update,\n"
    "                        rollback or delete) needs; changes nothing; 1 when a\n"
    "                        check fails\n"
    "  status [--json]       the deployed and previous release, the last action,\n"
    "                        drift, components, health and lock; 0 when all is well\n"
    "  history [--json] [-n N]\n"
    "                        the last N actions of the journal (default 20)\n"
    "  rollback [VERSION] [--dry-run] [--no-preflight]\n"
    "                        apply a release that succeeded here (default: the\n"
    "                        previous good one) and put its Patch settings back\n"
    "\n"
    "Options:\n"
    "  -C, --directory DIR   work in DIR (Settings.json, Resources.res, log.txt,\n"
    "                        temp/, releases.json, history.jsonl)\n"
    "  --dry-run             print the commands the action would run; change nothing\n"
    "  --yes                 confirm a delete without asking\n"
    "  --no-preflight        run the action without checking first what it needs\n"
    "                        (deploy, update, rollback and delete check first)\n"
    "  --json                check, status and history print JSON\n"
    "  --wait SECONDS        when another run is changing the working folder, wait up\n"
    "                        to SECONDS for it to end (without it: fail at once, 75)\n"
    "  --step-timeout SECONDS\n"
    "                        stop a command still running after SECONDS (SIGTERM,\n"
    "                        then SIGKILL ten seconds later); the action fails\n"
    "  --keep-downloads      keep all of temp/ after a deploy (by default only the\n"
    "                        files it used stay)\n"
    "  -h, --help            show this help\n"
    "  -V, --version         show the version\n"
    "\n"
    "Exit status: 0 success; 1 the action failed, or Settings.json or Resources.res\n"
    "could not be loaded (status: nothing deployed, the last action failed or the\n"
    "application is unhealthy); 2 a usage error, a refused value, a missing --yes or\n"
    "an unknown rollback VERSION; 75 the working folder is in use by another run that\n"
    "changes it (deploy, update, delete, migrate, rollback, set, init, the\n"
    "interface's Save and actions); 128 + N stopped by signal N (a hang-up lets a\n"
    "begun action finish).\n"
    "\n"
    "Environment: NO_COLOR turns the colours of the progress lines off (it wins),\n"
    "CLICOLOR_FORCE=1 keeps them when the output is not a terminal; SUDO_USER names\n"
    "the user in the journal; http_proxy, https_proxy and no_proxy apply to every\n"
    "download.\n";

// Walks the arguments once; each step consumes one argument or an option with its value.
class Parser {
 public:
  Parser(int argc, const char* const* argv, CommandLineOptions* options, std::string* error)
      : args(argv, argv + argc), options(options), error(error) {}

  bool Run() {
    index = 1;
    if (!globalOptions())
      return false;
    if (index >= count() || options->help || options->version)
      return true;
    return command();
  }

 private:
  bool fail(const std::string& reason) {
    *error = reason;
    return false;
  }

  int count() const { return static_cast<int>(args.size()); }

  // Splits combined short options as getopt does: "-hV" into "-h" "-V", and "-C/dir" or "-n5"
  // into the option and its value.
  void splitShortOptions() {
    const std::string argument = args[index];
    if (argument.size() <= 2 || argument[0] != '-' || argument[1] == '-')
      return;
    std::string rest = argument.substr(2);
    args[index] = argument.substr(0, 2);
    bool valued = argument[1] == 'C' || argument[1] == 'n';
    args.insert(args.begin() + index + 1, valued ? rest : "-" + rest);
  }

  bool globalOptions() {
    for (; index < count(); ++index) {
      splitShortOptions();
      std::string argument = args[index];
      if (argument == "--") {
        ++index;
        return true;
      }
      if (argument == "-h" || argument == "--help") {
        options->help = true;
      } else if (argument == "-V" || argument == "--version") {
        options->version = true;
      } else if (argument == "-C" || argument == "--directory") {
        if (!folder(argument))
          return false;
      } else if (argument.compare(0, 12, "--directory=") == 0) {
        options->directory = argument.substr(12);
      } else if (isWait(argument)) {
        if (!wait(argument))
          return false;
      } else if (!argument.empty() && argument[0] == '-') {
        return fail("unknown option '" + argument + "'");
      } else {
        return true;
      }
    }
    return true;
  }

  // The folder that follows option, which must not be empty.
  bool folder(const std::string& option) {
    if (++index >= count() || args[index].empty())
      return fail("option '" + option + "' needs a folder");
    options->directory = args[index];
    return true;
  }

  static bool isWait(const std::string& argument) {
    return argument == "--wait" || argument.compare(0, 7, "--wait=") == 0;
  }

  // The seconds of --wait: a number from 0 to a day, decimals allowed.
  bool wait(const std::string& argument) {
    std::string value;
    if (argument == "--wait") {
      if (++index >= count())
        return fail("option '--wait' needs a number of seconds");
      value = args[index];
    } else {
      value = argument.substr(7);
    }
    char* end = nullptr;
    double seconds = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(seconds >= 0 && seconds <= 86400) ||
        value.find_first_not_of("0123456789.") != std::string::npos)
      return fail("option '--wait' needs a number of seconds from 0 to 86400, not '" + value + "'");
    options->waitSeconds = seconds;
    return true;
  }

  bool command() {
    std::string name = args[index++];
    const CommandInfo* rule = findCommand(name);
    if (rule == nullptr)
      return fail("unknown command '" + name + "'");
    options->command = rule->command;
    std::vector<std::string> operands;
    // The values of set are taken as they stand, so that one may begin with "-".
    bool optionsEnded = rule->operands == -1 && !isHelp(index);
    for (; index < count(); ++index) {
      if (!optionsEnded)
        splitShortOptions();
      std::string argument = args[index];
      if (optionsEnded && operands.empty() && argument == "--" && rule->operands == -1) {
        continue;
      }
      if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
        operands.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (!commandOption(*rule, argument)) {
        return false;
      }
    }
    return !options->help ? assignOperands(*rule, operands) : true;
  }

  bool isHelp(int at) const { return at < count() && (args[at] == "-h" || args[at] == "--help"); }

  bool commandOption(const CommandInfo& rule, const std::string& argument) {
    if (argument == "-h" || argument == "--help") {
      options->help = true;
      return true;
    }
    if (rule.takesLanguage && (argument == "--lang" || argument.compare(0, 7, "--lang=") == 0))
      return language(argument);
    if (rule.takesLanguage && (argument == "-C" || argument == "--directory"))
      return folder(argument);
    if (rule.writes && isWait(argument))
      return wait(argument);
    if (rule.flags.count(STEP_TIMEOUT) != 0 &&
        (argument == STEP_TIMEOUT || argument.compare(0, 15, "--step-timeout=") == 0))
      return stepTimeout(argument);
    if (rule.flags.count("-n") != 0 && argument == "-n")
      return countOption();
    if (rule.flags.count(argument) == 0 || FLAGS.count(argument) == 0)
      return fail("unknown option '" + argument + "' for " + rule.name);
    FLAGS.at(argument)(options);
    return true;
  }

  bool stepTimeout(const std::string& argument) {
    std::string value;
    if (argument == STEP_TIMEOUT) {
      if (++index >= count())
        return fail("option '--step-timeout' needs a number of seconds");
      value = args[index];
    } else {
      value = argument.substr(15);
    }
    int seconds = 0;
    for (char c : value) {
      if (c < '0' || c > '9' || seconds > LONGEST_STEP_TIMEOUT)
        return timeoutRefused(value);
      seconds = seconds * 10 + (c - '0');
    }
    if (value.empty() || seconds < 1 || seconds > LONGEST_STEP_TIMEOUT)
      return timeoutRefused(value);
    options->choices.stepTimeout = seconds;
    return true;
  }

  bool timeoutRefused(const std::string& value) {
    return fail("option '--step-timeout' needs whole seconds from 1 to " +
                std::to_string(LONGEST_STEP_TIMEOUT) + ", not '" + value + "'");
  }

  // The number after -n: a whole number above zero.
  bool countOption() {
    if (++index >= count() || !positive(args[index], &options->count))
      return fail("option '-n' needs a number above zero");
    return true;
  }

  static bool positive(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
      return false;
    *value = std::stoi(text);
    return *value > 0;
  }

  bool language(const std::string& argument) {
    if (argument == "--lang") {
      if (++index >= count())
        return fail("option '--lang' needs a language (en or ru)");
      options->language = args[index];
    } else {
      options->language = argument.substr(7);
    }
    if (options->language != "en" && options->language != "ru")
      return fail("unknown language '" + options->language + "' (en or ru)");
    return true;
  }

  bool assignOperands(const CommandInfo& rule, const std::vector<std::string>& operands) {
    const std::string name = rule.name;
    if (rule.operands == -1) {
      if (operands.empty() || operands.size() % 2 != 0)
        return fail(name + " needs pairs of PATH and VALUE");
      for (size_t i = 0; i < operands.size(); i += 2)
        options->assignments.emplace_back(operands[i], operands[i + 1]);
      return true;
    }
    if (operands.size() < static_cast<size_t>(rule.operands) && !rule.operandOptional)
      return fail(
          name + (rule.command == Command::Migrate ? " needs the settings FILE" : " needs a PATH"));
    if (operands.size() > static_cast<size_t>(rule.operands))
      return fail("unexpected argument '" + operands[rule.operands] + "' for " + name);
    if (rule.command == Command::Check)
      return checkAction(operands);
    if (rule.command == Command::Rollback && !operands.empty())
      options->choices.rollbackVersion = operands[0];
    if (rule.command == Command::Migrate)
      options->choices.migratePath = operands[0];
    else if (rule.command == Command::Get)
      options->path = operands[0];
    return true;
  }

  bool checkAction(const std::vector<std::string>& operands) {
    Preflight::Action action;
    if (!operands.empty() && !Preflight::ActionNamed(operands[0], &action))
      return fail("unknown action '" + operands[0] +
                  "' for check (deploy, update, rollback or delete)");
    if (!operands.empty())
      options->checkAction = operands[0];
    return true;
  }

  std::vector<std::string> args;
  CommandLineOptions* options;
  std::string* error;
  int index = 1;
};

}  // namespace

const CommandInfo& CommandLineOptions::Info() const {
  for (const CommandInfo& info : COMMANDS)
    if (info.command == command)
      return info;
  return COMMANDS.front();
}

std::string CommandLineOptions::Name() const {
  return Info().name;
}

bool CommandLineOptions::IsAction() const {
  return Info().action != WindowAction::NO_ACTION;
}

bool CommandLineOptions::NeedsConfirmation() const {
  return !dryRun &&
         (command == Command::Delete || (command == Command::Migrate && choices.migrateDelete));
}

bool CommandLine::Parse(int argc, const char* const* argv, CommandLineOptions* options,
                        std::string* error) {
  return Parser(argc, argv, options, error).Run();
}

std::string CommandLine::Help() {
  return HELP;
}

std::string CommandLine::UsageLine() {
  return USAGE;
}

const std::vector<CommandInfo>& CommandLine::Commands() {
  return COMMANDS;
}
