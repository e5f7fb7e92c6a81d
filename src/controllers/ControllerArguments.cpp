#include "controllers/ControllerArguments.h"

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         ActionChoices choices)
    : logger(logger), resources(resources), settings(settings), choices(std::move(choices)) {}

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         bool installDocker, bool installWebServer,
                                         bool ignoreCerts, std::string migratePath,
                                         bool migrateDelete)
    : ControllerArguments(logger, resources, settings, ActionChoices()) {
  choices.installDocker = installDocker;
  choices.installWebServer = installWebServer;
  choices.ignoreCerts = ignoreCerts;
  choices.migratePath = std::move(migratePath);
  choices.migrateDelete = migrateDelete;
}

ControllerArguments::ControllerArguments(Logger* logger, Resources* resources, Settings* settings,
                                         bool migrateDelete)
    : ControllerArguments(logger, resources, settings, true, true, false, "", migrateDelete) {
  if (!migrateDelete)
    throw "Constructor of ControllerArguments expects migrateDelete.";
}
