#include "cli/CommandLine.h"

#include <cstring>
#include <map>
#include <set>

#include "app/WindowAction.h"

namespace {

// What each flag sets in the options.
using Flag = void (*)(CommandLineOptions*);

const std::map<std::string, Flag> FLAGS = {
    {"--dry-run", [](CommandLineOptions* o) { o->dryRun = true; }},
    {"--yes", [](CommandLineOptions* o) { o->yes = true; }},
    {"--no-runtime", [](CommandLineOptions* o) { o->choices.installDocker = false; }},
    {"--no-web-server", [](CommandLineOptions* o) { o->choices.installWebServer = false; }},
    {"--ignore-certs", [](CommandLineOptions* o) { o->choices.ignoreCerts = true; }},
    {"--delete-source", [](CommandLineOptions* o) { o->choices.migrateDelete = true; }},
    {"--no-rollback", [](CommandLineOptions* o) { o->choices.rollBack = false; }},
    {"--json", [](CommandLineOptions* o) { o->json = true; }},
};

// The one list of commands.
const std::vector<CommandInfo> COMMANDS = {
    {Command::Interface, "", {}, 0, false, WindowAction::NO_ACTION, true},
    {Command::Deploy,
     "deploy",
     {"--no-runtime", "--no-web-server", "--ignore-certs", "--dry-run"},
     0,
     false,
     WindowAction::DEPLOY,
     true},
    {Command::Update,
     "update",
     {"--no-rollback", "--dry-run"},
     0,
     false,
     WindowAction::UPDATE,
     true},
    {Command::Delete, "delete", {"--yes", "--dry-run"}, 0, false, WindowAction::DELETE, true},
    {Command::Migrate,
     "migrate",
     {"--delete-source", "--yes", "--dry-run"},
     1,
     false,
     WindowAction::MIGRATE,
     true},
    {Command::Show, "show", {}, 0, false, WindowAction::NO_ACTION, false},
    {Command::Get, "get", {}, 1, false, WindowAction::NO_ACTION, false},
    {Command::Set, "set", {}, -1, false, WindowAction::NO_ACTION, true},
    {Command::Init, "init", {}, 0, true, WindowAction::NO_ACTION, true},
    {Command::Status, "status", {"--json"}, 0, false, WindowAction::NO_ACTION, false},
    {Command::History, "history", {"--json", "-n"}, 0, false, WindowAction::NO_ACTION, false},
    {Command::Rollback, "rollback", {"--dry-run"}, -2, false, WindowAction::ROLLBACK, true},
};

const CommandInfo* findCommand(const std::string& name) {
  for (const CommandInfo& info : COMMANDS)
    if (!name.empty() && name == info.name)
      return &info;
  return nullptr;
}

const char* const USAGE =
    "usage: deployer [-C DIR] [COMMAND [OPTIONS]]   (deployer --help for more)\n";

const char* const HELP =
    "usage: deployer [-C DIR] [COMMAND [OPTIONS]]\n"
    "\n"
    "Without a command, deployer opens its full-screen interface in the working\n"
    "folder.\n"
    "\n"
    "Commands:\n"
    "  deploy [--no-runtime] [--no-web-server] [--ignore-certs] [--dry-run]\n"
    "                        install the container runtime and the web server, then\n"
    "                        deploy the application patch\n"
    "  update [--no-rollback] [--dry-run]\n"
    "                        update the application to the configured patch; a failed\n"
    "                        update returns to the previous good release unless\n"
    "                        --no-rollback is given\n"
    "  delete --yes [--dry-run]\n"
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
    "  status [--json]       the deployed and previous release, the last action,\n"
    "                        drift, components, health and lock; 0 when all is well\n"
    "  history [--json] [-n N]\n"
    "                        the last N actions of the journal (default 20)\n"
    "  rollback [VERSION] [--dry-run]\n"
    "                        apply a release that succeeded here (default: the\n"
    "                        previous good one) and put its Patch settings back\n"
    "\n"
    "Options:\n"
    "  -C, --directory DIR   work in DIR (Settings.json, Resources.res, log.txt,\n"
    "                        temp/, releases.json, history.jsonl)\n"
    "  --dry-run             print the commands the action would run; change nothing\n"
    "  --yes                 confirm a delete without asking\n"
    "  --json                status and history print JSON\n"
    "  -h, --help            show this help\n"
    "  -V, --version         show the version\n"
    "\n"
    "Exit status: 0 success; 1 the action failed, or Settings.json or Resources.res\n"
    "could not be loaded (status: nothing deployed, the last action failed or the\n"
    "application is unhealthy); 2 a usage error, a refused value, a missing --yes or\n"
    "an unknown rollback VERSION; 128 + N stopped by signal N (a hang-up lets a begun\n"
    "action finish).\n"
    "\n"
    "Environment: NO_COLOR turns the colours of the progress lines off,\n"
    "CLICOLOR_FORCE=1 keeps them when the output is not a terminal; SUDO_USER names\n"
    "the user in the journal.\n";

// Walks the arguments once; each step consumes one argument or an option with its value.
class Parser {
 public:
  Parser(int argc, const char* const* argv, CommandLineOptions* options, std::string* error)
      : argc(argc), argv(argv), options(options), error(error) {}

  bool Run() {
    index = 1;
    if (!globalOptions())
      return false;
    if (index >= argc || options->help || options->version)
      return true;
    return command();
  }

 private:
  bool fail(const std::string& reason) {
    *error = reason;
    return false;
  }

  bool globalOptions() {
    for (; index < argc; ++index) {
      std::string argument = argv[index];
      if (argument == "-h" || argument == "--help") {
        options->help = true;
      } else if (argument == "-V" || argument == "--version") {
        options->version = true;
      } else if (argument == "-C" || argument == "--directory") {
        if (!folder(argument))
          return false;
      } else if (argument.compare(0, 12, "--directory=") == 0) {
        options->directory = argument.substr(12);
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
    if (++index >= argc || argv[index][0] == '\0')
      return fail("option '" + option + "' needs a folder");
    options->directory = argv[index];
    return true;
  }

  bool command() {
    std::string name = argv[index++];
    const CommandInfo* rule = findCommand(name);
    if (rule == nullptr)
      return fail("unknown command '" + name + "'");
    options->command = rule->command;
    std::vector<std::string> operands;
    // The values of set are taken as they stand, so that one may begin with "-".
    bool optionsEnded = rule->operands == -1 && !isHelp(index);
    for (; index < argc; ++index) {
      std::string argument = argv[index];
      if (optionsEnded && operands.empty() && argument == "--" && rule->operands == -1) {
        continue;
      } else if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
        operands.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (!commandOption(*rule, argument)) {
        return false;
      }
    }
    return !options->help ? assignOperands(*rule, operands) : true;
  }

  bool isHelp(int at) const {
    return at < argc && (std::strcmp(argv[at], "-h") == 0 || std::strcmp(argv[at], "--help") == 0);
  }

  bool commandOption(const CommandInfo& rule, const std::string& argument) {
    if (argument == "-h" || argument == "--help") {
      options->help = true;
      return true;
    }
    if (rule.takesLanguage && (argument == "--lang" || argument.compare(0, 7, "--lang=") == 0))
      return language(argument);
    if (rule.takesLanguage && (argument == "-C" || argument == "--directory"))
      return folder(argument);
    if (rule.flags.count(argument) == 0)
      return fail("unknown option '" + argument + "' for " + rule.name);
    if (argument == "-n")
      return count();
    FLAGS.at(argument)(options);
    return true;
  }

  // The number after -n: a whole number above zero.
  bool count() {
    if (++index >= argc || !positive(argv[index], &options->count))
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
      if (++index >= argc)
        return fail("option '--lang' needs a language (en or ru)");
      options->language = argv[index];
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
    if (rule.operands == -2) {
      if (operands.size() > 1)
        return fail("unexpected argument '" + operands[1] + "' for " + name);
      if (!operands.empty())
        options->choices.rollbackVersion = operands[0];
      return true;
    }
    if (operands.size() < static_cast<size_t>(rule.operands))
      return fail(
          name + (rule.command == Command::Migrate ? " needs the settings FILE" : " needs a PATH"));
    if (operands.size() > static_cast<size_t>(rule.operands))
      return fail("unexpected argument '" + operands[rule.operands] + "' for " + name);
    if (rule.command == Command::Migrate)
      options->choices.migratePath = operands[0];
    else if (rule.command == Command::Get)
      options->path = operands[0];
    return true;
  }

  int argc;
  const char* const* argv;
  CommandLineOptions* options;
  std::string* error;
  int index = 1;
};

}  // namespace

const CommandInfo& CommandLineOptions::Info() const {
  return COMMANDS.at(static_cast<size_t>(command));
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
