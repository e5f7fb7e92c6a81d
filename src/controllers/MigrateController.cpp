#include "controllers/MigrateController.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/SettingsCheck.h"
#include "app/SettingsPath.h"
#include "app/Version.h"
#include "controllers/ControllerArguments.h"
#include "controllers/DeleteController.h"
#include "util/String.h"

namespace {
const char* const NAME = "Migrate";
const int TYPEAHEAD_QUIET_MS = 200;
}  // namespace

MigrateController::MigrateController(ControllerArguments* arguments, Version* programVersion)
    : Controller(arguments, programVersion, NAME),
      programVersion(programVersion),
      migratePath(this->arguments->MigratePath()),
      migrateDelete(this->arguments->MigrateDelete()) {}

MigrateController::~MigrateController() = default;

void MigrateController::Execute() {
  succeeded = false;
  print(String::Highlight(resources->texts["MIGRATION"], BrightYellow) + " " +
        String::Highlight(migratePath, Cyan));
  auto source = loadSource();
  print(resources->texts["MIGRATE_LOADED"], BrightYellow);
  Version sourceVersion(source->GetString(SettingsPath::PatchVersion));
  reportVersion(&sourceVersion);
  mergePatch(source.get(), &sourceVersion);
  mergeGroups(source.get());
  save();
  if (migrateDelete)
    deleteOldInstallation(source.get());
  print(resources->texts["MIGRATE_DONE"], Green);
  if (!backup.empty())
    print(resources->texts["MIGRATE_BACKUP"] + String::Highlight(backup, Cyan));
  succeeded = deleted;
  if (arguments->KeyWait() && !dryRun) {
    print(resources->texts["PRESS_TO_CONTINUE"]);
    waitForKey();
  }
}

// The settings as they were go to a backup first, so that the migration can be undone.
void MigrateController::save() {
  print(resources->texts["MIGRATE_SAVE"], BrightYellow);
  if (dryRun) {
    logger->Write("MigrateController::save left the file as it is: dry run.");
    return;
  }
  backup = settings->Backup();
  settings->Save();
}

// The other installation's settings. This tool's own file is refused: its delete would remove
// the running installation.
std::unique_ptr<Settings> MigrateController::loadSource() {
  auto source = std::make_unique<Settings>(logger, migratePath);
  try {
    if (settings->IsOwnFile(migratePath)) {
      logger->Write("MigrateController::loadSource " + migratePath +
                    " is the current settings file.");
      throw "Migration from the current settings file";
    }
    source->Load();
    SettingsCheck::Check(source.get(), logger, migratePath);
  } catch (...) {
    print(resources->texts["MIGRATE_LOAD_FAIL"], Red);
    throw;
  }
  return source;
}

void MigrateController::reportVersion(Version* source) {
  print(String::Highlight(resources->texts["MIGRATE_VERSION"], BrightYellow) +
        String::Highlight(source->ToString(), Cyan));
  Version target = getTargetVersion();
  if (source->Greater(&target, 1))
    print(resources->texts["MIGRATE_VERSION_WARNING_MAJOR"], Red);
  else if (source->Greater(&target, 2))
    print(resources->texts["MIGRATE_VERSION_WARNIN_MINOR"], Magenta);
}

void MigrateController::mergePatch(Settings* source, Version* sourceVersion) {
  Version target = getTargetVersion();
  if (sourceVersion->Equals(&target, 2)) {
    settings->SetString(SettingsPath::PatchVersion, sourceVersion->ToString());
    print(resources->texts["MERGE_PATCH_VERSION"] + sourceVersion->ToString());
  }
  std::string url = source->GetString(SettingsPath::PatchUrl);
  if (url == settings->GetString(SettingsPath::PatchUrl))
    return;
  settings->SetString(SettingsPath::PatchUrl, url);
  print(resources->texts["MERGE_PATCH_URL"] + url);
  std::string patchTemplate = source->GetString(SettingsPath::PatchTemplate);
  if (patchTemplate != settings->GetString(SettingsPath::PatchTemplate)) {
    settings->SetString(SettingsPath::PatchTemplate, patchTemplate);
    print(resources->texts["MERGE_PATCH_TEMPLATE"] + patchTemplate);
  }
}

void MigrateController::mergeGroups(Settings* source) {
  print(resources->texts["MERGE_INSTALL"]);
  using P = SettingsPath;
  copyIntegers(source, {P::InstallPort});
  copyStrings(source, {P::InstallDll, P::InstallComplexId, P::InstallCatalog});
  print(resources->texts["MERGE_CONNECTION"]);
  copyIntegers(source, {P::ConnectionType});
  copyStrings(source, {P::ConnectionServer, P::ConnectionBase});
  print(resources->texts["MERGE_WEB_SERVER_TOLM"]);
  copyStrings(source, {P::WebServerType});
  copyIntegers(source, {P::WebServerPort});
  copyStrings(source, {P::WebServerPath});
  copyIntegers(source, {P::WebServerDebugPort});
  copyStrings(source, {P::WebServerContSoft});
  print(resources->texts["MERGE_DOCKER_CE"]);
  copyStrings(source, {P::DockerPath});
}

void MigrateController::copyStrings(Settings* source, std::initializer_list<const char*> paths) {
  for (const char* path : paths)
    settings->SetString(path, source->GetString(path));
}

void MigrateController::copyIntegers(Settings* source, std::initializer_list<const char*> paths) {
  for (const char* path : paths)
    settings->SetInteger(path, source->GetInteger(path));
}

void MigrateController::deleteOldInstallation(Settings* source) {
  auto deleteArguments = std::make_unique<ControllerArguments>(logger, resources, source, true);
  deleteArguments->SetDryRun(dryRun);
  DeleteController remover(deleteArguments.release(), programVersion);
  remover.Execute();
  deleted = remover.Succeeded();
}

void MigrateController::waitForKey() {
  std::fflush(stdout);
  int key = std::getc(stdin);
  while (key != '\n' && key != EOF)
    key = std::getc(stdin);
  discardTypeahead();
}

// Keys typed ahead, such as a second Enter pressed right after the first, would reach the next
// window, where Enter switches the focused check box. They are dropped until the terminal has
// been quiet for a moment.
void MigrateController::discardTypeahead() {
  int terminal = fileno(stdin);
  if (!isatty(terminal))
    return;
  pollfd input{terminal, POLLIN, 0};
  do
    tcflush(terminal, TCIFLUSH);
  while (poll(&input, 1, TYPEAHEAD_QUIET_MS) > 0);
}
