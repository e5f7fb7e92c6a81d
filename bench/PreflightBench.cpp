// Every check of a full deploy (runtime, web server, patch) against a loopback site: the settings,
// programs, folders, free space, the three addresses asked side by side, and the ports. It must
// stay well under 2 seconds.
#include <benchmark/benchmark.h>

#include <cstdio>

#if __has_include("support/DeploymentSite.h")

#include <string>

#include "app/Logger.h"
#include "app/Resources.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "preflight/Preflight.h"
#include "support/DeploymentSite.h"
#include "support/WorkingDirectory.h"

namespace {

struct Stage {
  Stage()
      : directory(site.Path("app")),
        program("1.24.2.1"),
        logger(""),
        resources(&logger, DEPLOYER_SOURCE_DIR "/share/Resources.res"),
        settings(&logger, site.WriteSettings("app/Settings.json")) {
    site.ServeEverything();
    resources.Load();
    settings.Load();
  }

  DeploymentSite site;
  WorkingDirectory directory;
  Version program;
  Logger logger;
  Resources resources;
  Settings settings;
};

Stage* stage = nullptr;

void CheckFullDeploy(benchmark::State& state) {
  for (auto _ : state) {
    Preflight preflight(&stage->logger, &stage->resources, &stage->settings, &stage->program,
                        Preflight::Deploy, ActionChoices());
    if (!Preflight::Passed(preflight.Run()))
      state.SkipWithError("a check failed");
  }
}

BENCHMARK(CheckFullDeploy)
    ->Iterations(5)
    ->Repetitions(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Stage ready;
  stage = &ready;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

#else

int main() {
  std::puts("PreflightBench needs the test helpers; configure with the tests.");
  return 0;
}

#endif
