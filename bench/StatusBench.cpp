// deployer status on a working folder whose journal has reached its rotation size, against the
// same folder with a journal of one action: reading the last action must not grow with the
// journal.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RatioReporter.h"
#include "app/Journal.h"
#include "cli/StatusCommand.h"

namespace {

class Folder {
 public:
  explicit Folder(long journalBytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "status-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      std::abort();
    path = pattern;
    std::filesystem::copy_file(DEPLOYER_SOURCE_DIR "/share/Settings.json", path + "/Settings.json");
    std::ofstream journal(path + "/" + Journal::FILE_NAME);
    long written = 0;
    for (int action = 0; written == 0 || written < journalBytes; ++action) {
      JournalRecord record;
      record.id = std::to_string(action);
      record.action = "update";
      record.started = record.ended = "2026-12-07T17:52:28Z";
      record.versionBefore = record.versionAfter = "24.2.0.7";
      record.user = "ops";
      record.host = "app-server";
      record.programVersion = "1.24.2.1";
      record.settingsSha256 = std::string(64, 'a');
      std::string start = record.ToLine() + "\n";
      record.end = true;
      record.result = JournalRecord::SUCCEEDED;
      record.exitStatus = 0;
      std::string end = record.ToLine() + "\n";
      journal << start << end;
      written += static_cast<long>(start.size() + end.size());
    }
  }
  ~Folder() { std::filesystem::remove_all(path); }
  const std::string& Path() const { return path; }

 private:
  std::string path;
};

void status(benchmark::State& state, long journalBytes) {
  Folder folder(journalBytes);
  std::string back = std::filesystem::current_path().string();
  if (chdir(folder.Path().c_str()) != 0)
    std::abort();
  for (auto _ : state) {
    std::ostringstream out;
    StatusCommand::Run("Settings.json", true, out);
    benchmark::DoNotOptimize(out);
  }
  if (chdir(back.c_str()) != 0)
    std::abort();
}

void StatusWithFullJournal(benchmark::State& state) {
  status(state, Journal::ROTATE_BYTES);
}
void StatusWithOneAction(benchmark::State& state) {
  status(state, 0);
}

}  // namespace

BENCHMARK(StatusWithFullJournal)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(StatusWithOneAction)->Unit(benchmark::kMillisecond)->Repetitions(5);

int main(int argc, char** argv) {
  return RunWithRatio(argc, argv, "StatusWithFullJournal", "StatusWithOneAction");
}
