// Settings::Load followed by Settings::Save of the shipped settings file, and Load alone, each once
// with the log written to a real file and once with a logger whose file cannot be opened (writes
// dropped), so that the difference is the cost of writing the trace lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Logger.h"
#include "app/Settings.h"

namespace {

// A private copy of the shipped file in a fresh temporary folder.
class Folder {
 public:
  Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "settings-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      std::abort();
    path = pattern;
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json", File("Settings.json"));
  }
  ~Folder() { std::filesystem::remove_all(path); }
  std::string File(const std::string& name) const { return path + "/" + name; }

 private:
  std::string path;
};

const char* const NO_LOG = "/nonexistent-folder/log.txt";

void loadAndSave(benchmark::State& state, const char* logFile, bool save) {
  Folder folder;
  Logger logger(logFile != nullptr ? logFile : folder.File("log.txt"));
  Settings settings(&logger, folder.File("Settings.json"));
  for (auto _ : state) {
    settings.Load();
    if (save)
      settings.Save();
  }
}

void LoadAndSaveLoggedToFile(benchmark::State& state) {
  loadAndSave(state, nullptr, true);
}
void LoadAndSaveWithoutLog(benchmark::State& state) {
  loadAndSave(state, NO_LOG, true);
}
void LoadLoggedToFile(benchmark::State& state) {
  loadAndSave(state, nullptr, false);
}
void LoadWithoutLog(benchmark::State& state) {
  loadAndSave(state, NO_LOG, false);
}

}  // namespace

BENCHMARK(LoadAndSaveLoggedToFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadAndSaveWithoutLog)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadLoggedToFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadWithoutLog)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
