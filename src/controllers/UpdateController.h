#pragma once

#include <string>

#include "app/ReleaseState.h"
#include "controllers/Controller.h"

// The update action: saves pending settings and asks the installed web server to update the
// registered application to the configured patch with its ws_updapp.sh script, then checks its
// health. When either fails and a previous good release is known, the application is returned
// to it the same way and its Patch settings are put back (unless rolling back was turned off).
class UpdateController : public Controller {
 public:
  // Takes ownership of arguments.
  UpdateController(ControllerArguments* arguments, Version* programVersion);
  ~UpdateController() override;

  void Execute() override;

 protected:
  UpdateController(ControllerArguments* arguments, Version* programVersion, std::string name);

  // Applies the patch of the release with ws_updapp.sh, checks the health and, when both pass,
  // puts the release's Patch settings back and saves them.
  bool returnTo(const ReleaseState::Release& release);

 private:
  // Runs ws_updapp.sh for the patch file at url and checks the health afterwards.
  bool apply(const std::string& url, const std::string& patchName);
  void rollBack();
};
