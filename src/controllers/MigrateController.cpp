#include "controllers/MigrateController.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
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
  Version sourceVersion(source->GetString(Settings::Patch + "/Version"));
  reportVersion(&sourceVersion);
  mergePatch(source.get(), &sourceVersion);
  mergeGroups(source.get());
  save();
  if (migrateDelete)
    deleteOldInstallation(source.get());
  print(resources->texts["MIGRATE_DONE"], Green);
  succeeded = deleted;
  if (keyWait && !dryRun) {
    print(resources->texts["PRESS_TO_CONTINUE"]);
    waitForKey();
  }
}

void MigrateController::save() {
  print(resources->texts["MIGRATE_SAVE"], BrightYellow);
  if (dryRun)
    logger->Write("MigrateController::save left the file as it is: dry run.");
  else
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
    settings->SetString(Settings::Patch + "/Version", sourceVersion->ToString());
    print(resources->texts["MERGE_PATCH_VERSION"] + sourceVersion->ToString());
  }
  std::string url = source->GetString(Settings::Patch + "/Url");
  if (url == settings->GetString(Settings::Patch + "/Url"))
    return;
  settings->SetString(Settings::Patch + "/Url", url);
  print(resources->texts["MERGE_PATCH_URL"] + url);
  std::string patchTemplate = source->GetString(Settings::Patch + "/Template");
  if (patchTemplate != settings->GetString(Settings::Patch + "/Template")) {
    settings->SetString(Settings::Patch + "/Template", patchTemplate);
    print(resources->texts["MERGE_PATCH_TEMPLATE"] + patchTemplate);
  }
}

void MigrateController::mergeGroups(Settings* source) {
  print(resources->texts["MERGE_INSTALL"]);
  copyIntegers(source, Settings::Install, {"/Port"});
  copyStrings(source, Settings::Install, {"/DLL", "/ComplexId", "/Catalog"});
  print(resources->texts["MERGE_CONNECTION"]);
  copyIntegers(source, Settings::Connection, {"/Type"});
  copyStrings(source, Settings::Connection, {"/Server", "/Base"});
  print(resources->texts["MERGE_WEB_SERVER_TOLM"]);
  copyStrings(source, Settings::WebServer, {"/Type"});
  copyIntegers(source, Settings::WebServer, {"/Port"});
  copyStrings(source, Settings::WebServer, {"/Path"});
  copyIntegers(source, Settings::WebServer, {"/DebugPort"});
  copyStrings(source, Settings::WebServer, {"/ContSoft"});
  print(resources->texts["MERGE_DOCKER_CE"]);
  copyStrings(source, Settings::Docker, {"/Path"});
}

void MigrateController::copyStrings(Settings* source, const std::string& section,
                                    std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    settings->SetString(section + key, source->GetString(section + key));
}

void MigrateController::copyIntegers(Settings* source, const std::string& section,
                                     std::initializer_list<const char*> keys) {
  for (const char* key : keys)
    settings->SetInteger(section + key, source->GetInteger(section + key));
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
