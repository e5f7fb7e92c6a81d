// The checksum of a 100 MB download computed in-process against sha256sum on the same file, in
// the same run. The closing line gives the ratio of the two medians.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "RatioReporter.h"
#include "util/Sha256.h"

namespace {

const size_t FILE_SIZE = 100 * 1000 * 1000;

// A file of pseudo-random bytes in the temporary folder, removed at the end.
class Download {
 public:
  Download() : path(std::filesystem::temp_directory_path() / "deployer-sha256-bench.bin") {
    std::mt19937_64 random(7);
    std::string block(1 << 20, '\0');
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (size_t written = 0; written < FILE_SIZE; written += block.size()) {
      for (size_t i = 0; i < block.size(); i += 8) {
        uint64_t value = random();
        block.replace(i, 8, reinterpret_cast<const char*>(&value), 8);
      }
      out.write(block.data(),
                static_cast<std::streamsize>(std::min(block.size(), FILE_SIZE - written)));
    }
  }
  ~Download() { std::filesystem::remove(path); }

  std::filesystem::path path;
};

Download* download = nullptr;

void InProcess(benchmark::State& state) {
  for (auto _ : state) {
    std::string digest, reason;
    if (!Sha256::OfFile(download->path.string(), &digest, &reason))
      state.SkipWithError(reason.c_str());
    benchmark::DoNotOptimize(digest);
  }
}

void Sha256Sum(benchmark::State& state) {
  std::string command = "sha256sum '" + download->path.string() + "' >/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0)
      state.SkipWithError("sha256sum failed");
  }
}

BENCHMARK(InProcess)->Iterations(1)->Repetitions(9)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Sha256Sum)->Iterations(1)->Repetitions(9)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Download file;
  download = &file;
  return RunWithRatio(argc, argv, "InProcess", "Sha256Sum");
}
