#include "controllers/RollbackController.h"

#include "app/Resources.h"
#include "controllers/ControllerArguments.h"

namespace {
const char* const NAME = "Rollback";
}

RollbackController::RollbackController(ControllerArguments* arguments, Version* programVersion)
    : UpdateController(arguments, programVersion, NAME) {}

RollbackController::~RollbackController() = default;

void RollbackController::Execute() {
  succeeded = false;
  ReleaseState state;
  state.Load(ReleaseState::FILE_NAME);
  std::string version = arguments->RollbackVersion();
  const ReleaseState::Release* release = !version.empty()   ? state.Find(version)
                                         : state.Previous() ? &*state.Previous()
                                                            : nullptr;
  if (release == nullptr) {
    print(version.empty() ? resources->texts["ROLLBACK_NO_PREVIOUS"]
                          : resources->texts["ROLLBACK_UNKNOWN_VERSION"] + version,
          Red);
    return;
  }
  print(resources->texts["ROLLBACK_STARTING"] + release->version, BrightYellow);
  ReleaseState::Release chosen = *release;
  succeeded = returnTo(chosen);
}
