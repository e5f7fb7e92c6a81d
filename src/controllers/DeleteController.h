#pragma once

#include <string>

#include "controllers/Controller.h"

// The delete action: removes the registered application, the web server with its folders and the
// container runtime with its folder. Every step is tried; the colour of the closing line tells
// whether all of them went well.
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
  // is empty or the root; a skipped removal is logged and returns false.
  bool removeFolder(const std::string& folder, const std::string& archiveName);
};
