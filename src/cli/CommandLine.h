#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/ActionChoices.h"

// The commands of the program; Interface is the full-screen interface (no command given).
enum class Command {
  Interface,
  Deploy,
  Update,
  Delete,
  Migrate,
  Show,
  Get,
  Set,
  Init,
  Check,
  Status,
  History,
  Rollback
};

// What one command is: its name, the options and operands it takes, the action it runs (a
// WindowAction, NO_ACTION for the others) and whether it changes the working folder or the
// server.
struct CommandInfo {
  Command command;
  const char* name;
  std::set<std::string> flags;
  int operands;        // -1: pairs, any number above zero
  bool takesLanguage;  // --lang, and -C after the command
  int action;
  bool writes;
  bool operandOptional = false;  // the one operand may be left out
};

// What the arguments of one call ask for. No command and no other option is the interface.
struct CommandLineOptions {
  Command command = Command::Interface;
  std::string directory;  // -C DIR: the working folder ("" = the current one)
  bool help = false;
  bool version = false;
  bool dryRun = false;
  bool yes = false;
  bool updateTexts = false;            // init --update-texts
  bool json = false;                   // check, status, history --json
  bool noPreflight = false;            // --no-preflight: an action skips its checks
  std::string checkAction = "deploy";  // check ACTION
  int count = 20;                      // history -n N
  double waitSeconds = 0;  // --wait SECONDS: how long a writing command waits for the lock
  // --no-runtime, --no-web-server, --ignore-certs, --keep-downloads, --no-rollback; migrate FILE
  // and --delete-source; rollback VERSION.
  ActionChoices choices;
  std::string path;                                              // get PATH
  std::string language;                                          // init --lang
  std::vector<std::pair<std::string, std::string>> assignments;  // set PATH VALUE ...

  const CommandInfo& Info() const;
  // The command's name as typed ("" for the interface).
  std::string Name() const;
  // True for the commands that run a controller.
  bool IsAction() const;
  // True when the action would remove an installation and so needs --yes or an answer.
  bool NeedsConfirmation() const;
};

// Reads the program's arguments.
//
// Grammar:
//   deployer [-C DIR | --directory DIR | --directory=DIR] [--wait SECONDS | --wait=SECONDS]
//            [-h | --help] [-V | --version] [COMMAND [ARGUMENT ...] [OPTION ...]]
// Global options stand before the command; "--" ends them. Short options combine as with getopt
// ("-hV", "-C/srv/app", "-n5"). After the command its own options and its operands
// may be mixed; "--" ends the options. The arguments of set are all operands (a value may begin
// with "-"; a leading "--" is skipped), unless the first is -h or --help. --help is accepted after
// a command too. Each command takes only its own options:
//   deploy  --no-runtime --no-web-server --ignore-certs --keep-downloads --dry-run --no-preflight
//   update  --no-rollback --dry-run --no-preflight      delete  --yes --dry-run --no-preflight
//   check   [deploy|update|rollback|delete] --json --no-runtime --no-web-server --ignore-certs
//   (deploy, update, delete, migrate and rollback also take --step-timeout SECONDS)
//   migrate FILE --delete-source --yes --dry-run
//   (deploy, update, delete and migrate also take --step-timeout SECONDS or --step-timeout=SECONDS)
//   show    get PATH            set PATH VALUE [PATH VALUE ...]
//   init    [-C DIR] [--lang en|ru] [--update-texts]   (init takes -C after the command too)
//   status  [--json]            history [--json] [-n N]   rollback [VERSION] [--dry-run]
// --wait is taken after every command that changes the folder but set as well.
class CommandLine {
 public:
  // Fills options from argv; on a usage error returns false with a one-line reason in error.
  static bool Parse(int argc, const char* const* argv, CommandLineOptions* options,
                    std::string* error);
  // The whole help text and the one usage line, both ending with a newline.
  static std::string Help();
  static std::string UsageLine();
  // Every command, the interface first.
  static const std::vector<CommandInfo>& Commands();
};
