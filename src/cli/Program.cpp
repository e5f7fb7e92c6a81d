#include "cli/Program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/Logger.h"
#include "app/ReleaseState.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsCheck.h"
#include "app/StopSignals.h"
#include "app/Version.h"
#include "app/WorkingLock.h"
#include "cli/BatchApplication.h"
#include "cli/Console.h"
#include "cli/DeployerApplication.h"
#include "cli/HistoryCommand.h"
#include "cli/InitCommand.h"
#include "cli/SettingsCommands.h"
#include "cli/StatusCommand.h"
#include "cli/UpdateTextsCommand.h"
#include "preflight/Preflight.h"
#include "preflight/PreflightReport.h"
#include "util/String.h"

const char* const Program::VERSION = "1.24.2.1";

namespace {

const std::string SETTINGS_FILE_NAME = "Settings.json";
const std::string RESOURCES_FILE_NAME = "Resources.res";
const std::string LOG_FILE_NAME = "log.txt";

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

int usageError(const std::string& reason) {
  Console::Err() << "deployer: " << reason << "\n" << CommandLine::UsageLine();
  return Program::USAGE_ERROR;
}

// Without a log to name them in, the refused entries go into the one line on standard error.
bool refused(Settings* settings, const std::string& command) {
  std::string problems;
  for (const std::string& problem : SettingsCheck::Problems(settings))
    problems += (problems.empty() ? "" : " ") + problem;
  if (problems.empty())
    return false;
  Console::Err() << "deployer: cannot " << command << " the settings of " << SETTINGS_FILE_NAME
                 << " (Invalid settings: " << problems << ")\n";
  return true;
}

}  // namespace

// The interface needs a terminal for its keys and its screen. The lock is checked before the log
// of the last run is moved aside, which may be a running action's; it is not kept while the
// interface waits for keys.
int Program::Interactive(double waitSeconds) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    Console::Err() << "deployer: no terminal; give a command (see --help)\n";
    return USAGE_ERROR;
  }
  WorkingLock lock(WorkingLock::FILE_NAME);
  // The window only checks that the folder is free; it takes the lock when an action is chosen.
  if (int refused = refusal(&lock, lock.Check(waitSeconds)))
    return refused;
  chooseColours();
  StopSignals::Catch();
  Version version(VERSION);
  // The hundreds of start-up lines go to the file in one write, when the window first waits;
  // the file is made then too, after the first screen.
  Logger logger(LOG_FILE_NAME, Logger::Opening::AtFirstFlush);
  logger.Write("Version " + version.ToString());
  Resources resources(&logger, RESOURCES_FILE_NAME);
  Settings settings(&logger, SETTINGS_FILE_NAME);
  DeployerApplication application(&version, &logger, &resources, &settings,
                                  {RESOURCES_FILE_NAME, SETTINGS_FILE_NAME, LOG_FILE_NAME}, &lock);
  return application.Run();
}

int Program::Main(int argc, const char* const* argv) {
  if (argc <= 1)
    return Interactive();
  CommandLineOptions options;
  std::string error;
  if (!CommandLine::Parse(argc, argv, &options, &error))
    return usageError(error);
  return Program(std::move(options)).run();
}

int Program::run() {
  if (options.help) {
    Console::Out() << CommandLine::Help();
    return 0;
  }
  if (options.version) {
    Console::Out() << "deployer " << VERSION << "\n";
    return 0;
  }
  if (options.command == Command::Init)
    return init();
  if (!enterDirectory())
    return USAGE_ERROR;
  if (options.command == Command::Interface)
    return Interactive(options.waitSeconds);
  if (options.IsAction())
    return action();
  if (options.command == Command::Check)
    return check();
  if (options.command == Command::Status || options.command == Command::History)
    return readingCommand();
  return settingsCommand();
}

// Works in the folder of -C, as make -C and git -C do: every file name is taken from there.
bool Program::enterDirectory() {
  if (options.directory.empty() || chdir(options.directory.c_str()) == 0)
    return true;
  Console::Err() << "deployer: cannot work in '" << options.directory
                 << "': " << std::strerror(errno) << "\n";
  return false;
}

// A removal goes ahead with --yes, or after "y" at a terminal; without a terminal to ask at it
// is refused, so that a script never removes an installation by default.
bool Program::confirmed() {
  if (!options.NeedsConfirmation() || options.yes)
    return true;
  const std::string what =
      options.command == Command::Delete
          ? "delete removes this server's installation"
          : "migrate --delete-source removes the installation of " + options.choices.migratePath;
  if (!isatty(STDIN_FILENO)) {
    Console::Err() << "deployer: " << what << "; add --yes to confirm\n";
    return false;
  }
  Console::Out() << "deployer: " << what << ". Continue? [y/N] " << std::flush;
  std::string answer;
  std::getline(Console::In(), answer);
  if (answer == "y" || answer == "Y" || answer == "yes" || answer == "YES" || answer == "Yes")
    return true;
  Console::Err() << "deployer: not confirmed; nothing was changed\n";
  return false;
}

int Program::lockFolder(WorkingLock* lock, const std::string& command, double waitSeconds) {
  return refusal(lock, lock->Take(command, waitSeconds));
}

int Program::refusal(WorkingLock* lock, WorkingLock::Result result) {
  if (result == WorkingLock::Result::Unavailable && lock->Planted()) {
    Console::Err() << "deployer: cannot lock the working folder: " << WorkingLock::FILE_NAME
                   << " is " << lock->Error() << "; remove it\n";
    return 1;
  }
  if (result != WorkingLock::Result::Busy)
    return 0;
  Console::Err() << "deployer: the working folder is in use by " << lock->ReadHolder().Describe()
                 << "; try again later or use --wait SECONDS\n";
  return WorkingLock::BUSY_STATUS;
}

// The action's own run sequence, under the folder's lock; a dry run takes no lock and writes no
// log, so that it leaves the folder as it is.
int Program::action() {
  WorkingLock lock(WorkingLock::FILE_NAME);
  if (!options.dryRun)
    if (int refused = lockFolder(&lock, options.Name(), options.waitSeconds))
      return refused;
  if (!confirmed() || !knownRelease())
    return USAGE_ERROR;
  chooseColours();
  StopSignals::Catch();
  Version version(VERSION);
  Logger logger(options.dryRun ? "" : LOG_FILE_NAME);
  logger.Write("Version " + version.ToString());
  Resources resources(&logger, RESOURCES_FILE_NAME);
  Settings settings(&logger, SETTINGS_FILE_NAME);
  BatchApplication application(&version, &logger, &resources, &settings,
                               {RESOURCES_FILE_NAME, SETTINGS_FILE_NAME, LOG_FILE_NAME}, options);
  return application.Run();
}

bool Program::knownRelease() {
  const std::string& version = options.choices.rollbackVersion;
  if (options.command != Command::Rollback || version.empty())
    return true;
  ReleaseState releases;
  releases.Load(ReleaseState::FILE_NAME);
  if (releases.Find(version) != nullptr)
    return true;
  Console::Err() << "deployer: release " << version
                 << " never succeeded here; nothing to roll back to\n"
                 << CommandLine::UsageLine();
  return false;
}

// status and history still report on a folder without settings, after saying how to make them.
int Program::readingCommand() {
  std::string hint = InitCommand::MissingFileHint(SETTINGS_FILE_NAME, RESOURCES_FILE_NAME);
  if (!hint.empty())
    Console::Err() << "deployer: " << SETTINGS_FILE_NAME << " is not in the working folder." << hint
                   << "\n";
  if (options.command == Command::History)
    return HistoryCommand::Run(options.count, options.json, Console::Out());
  return StatusCommand::Run(SETTINGS_FILE_NAME, options.json, Console::Out());
}

// show, get and set read and write Settings.json alone: no resource texts, and no log, so that
// the log of the last action stays in place. set reads, changes and saves under the lock.
int Program::settingsCommand() {
  WorkingLock lock(WorkingLock::FILE_NAME);
  if (options.command == Command::Set)
    if (int refused = lockFolder(&lock, options.Name(), options.waitSeconds))
      return refused;
  Logger logger("");
  Settings settings(&logger, SETTINGS_FILE_NAME);
  try {
    settings.Load();
    if (refused(&settings, options.Name()))
      return 1;
    SettingsCommands commands(&settings);
    if (options.command == Command::Show)
      return commands.Show(Console::Out());
    if (options.command == Command::Get)
      return commands.Get(options.path, Console::Out(), Console::Err());
    return commands.Set(options.assignments, Console::Out(), Console::Err());
  } catch (const char* message) {
    Console::Err() << "deployer: cannot " << options.Name() << " the settings of "
                   << SETTINGS_FILE_NAME << " (" << message << ")."
                   << InitCommand::MissingFileHint(SETTINGS_FILE_NAME, RESOURCES_FILE_NAME) << "\n";
    return 1;
  }
}

// check reads the two files and looks around; it takes no lock, keeps no log and changes nothing.
// A resource file that cannot be loaded fails its own check, and the others run with empty texts.
int Program::check() {
  chooseColours();
  Version version(VERSION);
  Logger logger("");
  Resources resources(&logger, RESOURCES_FILE_NAME);
  Settings settings(&logger, SETTINGS_FILE_NAME);
  std::vector<CheckResult> results;
  try {
    resources.Load();
  } catch (const char* message) {
    results.push_back({"resources", false, false,
                       RESOURCES_FILE_NAME + ": " + message + "." +
                           InitCommand::MissingFileHint(RESOURCES_FILE_NAME, SETTINGS_FILE_NAME)});
  }
  Preflight::Action action = Preflight::Deploy;
  Preflight::ActionNamed(options.checkAction, &action);
  try {
    settings.Load();
    Preflight preflight(&logger, &resources, &settings, &version, action, options.choices);
    for (CheckResult& result : preflight.Run())
      results.push_back(std::move(result));
  } catch (const char* message) {
    results.push_back({"settings", false, false,
                       SETTINGS_FILE_NAME + ": " + message + "." +
                           InitCommand::MissingFileHint(SETTINGS_FILE_NAME, RESOURCES_FILE_NAME)});
  }
  Console::Out() << (options.json
                         ? PreflightReport::Json(results, options.checkAction)
                         : PreflightReport::Lines(results, &resources, options.checkAction));
  return Preflight::Passed(results) ? 0 : 1;
}

// init makes the folder of -C itself, so it does not enter it first; it locks the folder once it
// is there (a folder that cannot be made is reported by InitCommand).
int Program::init() {
  std::filesystem::path folder(options.directory);
  std::error_code error;
  if (!folder.empty() && !options.updateTexts)
    std::filesystem::create_directories(folder, error);
  WorkingLock lock((folder / WorkingLock::FILE_NAME).string());
  if (int refused = lockFolder(&lock, options.Name(), options.waitSeconds))
    return refused;
  if (options.updateTexts)
    return UpdateTextsCommand::Run(options.directory, options.language, Console::Out(),
                                   Console::Err());
  return InitCommand::Run(options.directory, options.language, Console::Out(), Console::Err());
}

// Colour codes only for a terminal, or anywhere with CLICOLOR_FORCE; never against NO_COLOR.
void Program::chooseColours() {
  const char* force = std::getenv("CLICOLOR_FORCE");
  bool forced = force != nullptr && force[0] != '\0' && std::strcmp(force, "0") != 0;
  String::SetHighlighting(!isSet("NO_COLOR") && (forced || isatty(STDOUT_FILENO)));
}
