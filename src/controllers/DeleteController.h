#pragma once

#include <string>

#include "controllers/Controller.h"

// The delete action: removes the registered application, the web server with its folders and the
// container runtime with its folder. Every step is tried (until a stop signal arrives); the
// colour of the closing line tells whether all of them went well. A folder still there after its
// removal gets a red line of its own and fails the action. The runtime's uninstall.sh exiting
// with status 1 counts as success: it may mean that the runtime was already removed.
class DeleteController : public Controller {
 public:
  // Takes ownership of arguments.
  DeleteController(ControllerArguments* arguments, Version* programVersion);
  ~DeleteController() override;

  void Execute() override;

 private:
  bool deleteApplication(const std::string& controlPath);
  bool deleteWebServer(const std::string& controlPath);
  bool deleteRuntime();
  // Runs rm -r on the folder unless the archive name it was derived from is empty or the folder
  // is empty or the root; a skipped removal is logged and returns false. True when the folder is
  // gone afterwards (in a dry run: when rm -r would run).
  bool removeFolder(const std::string& folder, const std::string& archiveName);
  bool removed(const std::string& folder);
};
