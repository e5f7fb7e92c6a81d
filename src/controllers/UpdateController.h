#pragma once

#include "controllers/Controller.h"

// The update action: saves pending settings and asks the installed web server to update the
// registered application to the configured patch with its ws_updapp.sh script.
class UpdateController : public Controller {
 public:
  // Takes ownership of arguments.
  UpdateController(ControllerArguments* arguments, Version* programVersion);
  ~UpdateController() override;

  void Execute() override;
};
