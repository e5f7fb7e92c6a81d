// Parse + serialize of a generated document of about 1 MB, with the trace log written to a real
// file, to a logger whose file could not be opened, and with no logger at all; the differences
// give the share of the time spent in trace logging.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Logger.h"
#include "util/Json.h"

namespace {

std::string section(int number) {
  std::string text = "\"section" + std::to_string(number) + "\": {";
  text += "\"Url\": \"https://downloads.example/files/archive-" + std::to_string(number) +
          ".tar.gz\", \"Port\": " + std::to_string(8000 + number) + ", \"Ratio\": 0." +
          std::to_string(number * 7919 % 100000) + ", \"Enabled\": true, \"Parent\": null, ";
  text += "\"Folder\": \"C:\\\\deploy\\\\\\\"quoted\\\" \\u00e9\", \"List\": [";
  for (int i = 0; i < 8; ++i) {
    text += std::to_string(i * number) + ", ";
  }
  return text + "\"end\"]}";
}

const std::string& document() {
  static const std::string text = [] {
    std::string built = "{";
    for (int number = 0; built.size() < 1000000; ++number) {
      built += (number > 0 ? ",\n" : "") + section(number);
    }
    return built + "}";
  }();
  return text;
}

void parseAndSerialize(benchmark::State& state, Logger* logger) {
  for (auto _ : state) {
    Json json(logger, document());
    benchmark::DoNotOptimize(json.Serialize(false));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document().size()));
}

void BM_JsonParseSerializeLogToFile(benchmark::State& state) {
  std::filesystem::path file = std::filesystem::temp_directory_path() / "deployer-json-bench.txt";
  {
    Logger logger(file.string());
    parseAndSerialize(state, &logger);
  }
  std::filesystem::remove(file);
}

void BM_JsonParseSerializeLogFailed(benchmark::State& state) {
  Logger logger("/nonexistent-folder/deployer-json-bench.txt");
  parseAndSerialize(state, &logger);
}

void BM_JsonParseSerializeNoLog(benchmark::State& state) {
  parseAndSerialize(state, nullptr);
}

}  // namespace

BENCHMARK(BM_JsonParseSerializeLogToFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonParseSerializeLogFailed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonParseSerializeNoLog)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
