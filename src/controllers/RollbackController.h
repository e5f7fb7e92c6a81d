#pragma once

#include "controllers/UpdateController.h"

// The rollback action: applies a release that succeeded here before (the chosen version, or the
// previous good release) with ws_updapp.sh, checks its health and puts its Patch settings back.
class RollbackController : public UpdateController {
 public:
  // Takes ownership of arguments.
  RollbackController(ControllerArguments* arguments, Version* programVersion);
  ~RollbackController() override;

  void Execute() override;
};
