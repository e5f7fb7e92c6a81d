#include <clocale>
#include <string>

#include "app/DeployerApplication.h"
#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"

namespace {

const std::string VERSION = "1.24.2.1";
const std::string SETTINGS_FILE_NAME = "Settings.json";
const std::string RESOURCES_FILE_NAME = "Resources.res";
const std::string LOG_FILE_NAME = "log.txt";

}  // namespace

int main() {
  std::setlocale(LC_ALL, "");
  Version version(VERSION);
  Logger logger(LOG_FILE_NAME);
  logger.Write("Version " + version.ToString());
  Resources resources(&logger, RESOURCES_FILE_NAME);
  Settings settings(&logger, SETTINGS_FILE_NAME);
  DeployerApplication application(&version, &logger, &resources, &settings,
                                  {RESOURCES_FILE_NAME, SETTINGS_FILE_NAME, LOG_FILE_NAME});
  return application.Run();
}
