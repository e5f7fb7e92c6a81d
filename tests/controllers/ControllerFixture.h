#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "support/DeploymentSite.h"
#include "support/WorkingDirectory.h"

class Controller;
class ControllerArguments;

// Runs controllers in a DeploymentSite: the working directory is the site's work folder, the
// resource texts are their own keys and the settings file is written from the site.
class ControllerFixture : public testing::Test {
 protected:
  ControllerFixture();
  ~ControllerFixture() override;

  // Writes the site's settings to app/Settings.json and loads them, with the log and texts.
  void Open();
  // Arguments with the choices given, and with dryRun and keyWait as they are set.
  ControllerArguments* Arguments(bool installDocker, bool installWebServer, bool ignoreCerts,
                                 std::string migratePath = "", bool migrateDelete = false);
  // Runs Execute, keeps Succeeded and returns what reached standard output, colours written as
  // <red>...</>.
  std::string Execute(Controller& controller);
  // Makes a T of the arguments (ownership passes to it) and executes it.
  template <typename T>
  std::string Run(ControllerArguments* arguments) {
    T controller(arguments, &programVersion);
    return Execute(controller);
  }
  // The log written so far; ends the log, so call it last.
  std::string Log();
  std::string ControlPath() const { return site.Path("web/web_8080/ctl"); }
  // The command lines the log records as run, in order.
  static std::vector<std::string> LoggedCommands(const std::string& log);

  // The site's records with the site folder written as {site} and the server as {server}.
  std::string Records() const { return Normalised(site.Records()); }
  std::string Normalised(std::string text) const;
  static std::string Readable(std::string output);
  // The last line of the output, with its line end.
  static std::string LastLine(const std::string& output);

  DeploymentSite site;
  WorkingDirectory workingDirectory;
  Version programVersion;
  std::unique_ptr<Logger> logger;
  std::unique_ptr<Resources> resources;
  std::unique_ptr<Settings> settings;
  bool dryRun = false;
  bool keyWait = false;
  bool succeeded = false;
};
