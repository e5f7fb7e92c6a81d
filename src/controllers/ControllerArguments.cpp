#include "controllers/ControllerArguments.h"

#include "forms/Window.h"

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         bool installDocker, bool installWebServer,
                                         bool ignoreCerts, std::string migratePath,
                                         bool migrateDelete)
    : logger(logger),
      resources(resources),
      settings(settings),
      installDocker(installDocker),
      installWebServer(installWebServer),
      ignoreCerts(ignoreCerts),
      migratePath(migratePath),
      migrateDelete(migrateDelete) {}

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         bool migrateDelete)
    : ControllerArguments(logger, resources, settings, true, true, false, "", migrateDelete) {
  if (!migrateDelete)
    throw "Constructor of ControllerArguments expects migrateDelete.";
}

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         Window* window)
    : ControllerArguments(logger, resources, settings, window->installDocker,
                          window->installWebServer, window->ignoreCerts, window->migratePath,
                          window->migrateDelete) {}
