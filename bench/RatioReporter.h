#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The console report followed by the ratio of the medians of two benchmarks run in the same
// program, the measured one over its baseline. RunWithRatio runs them in random interleaving.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Each pair: the measured benchmark and its baseline.
  using Pairs = std::vector<std::pair<std::string, std::string>>;

  // labels: the line of a measured benchmark, instead of "Median ratio MEASURED / BASELINE".
  explicit RatioReporter(Pairs pairs, std::map<std::string, std::string> labels = {})
      : pairs(std::move(pairs)), labels(std::move(labels)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [measured, baseline] : pairs) {
      double top = medians[measured];
      double bottom = medians[baseline];
      if (top > 0 && bottom > 0 && labels.count(measured) > 0)
        std::printf("%s: %.3f\n", labels.at(measured).c_str(), top / bottom);
      else if (top > 0 && bottom > 0)
        std::printf("Median ratio %s / %s: %.3f\n", measured.c_str(), baseline.c_str(),
                    top / bottom);
    }
  }

 private:
  Pairs pairs;
  std::map<std::string, std::string> labels;
  std::map<std::string, double> medians;
};

// Runs the program's benchmarks, interleaved at random so that a change of the machine's load
// touches both alike, and closes with the ratio of measured over baseline.
inline int RunWithRatios(int argc, char** argv, RatioReporter::Pairs pairs,
                         std::map<std::string, std::string> labels = {}) {
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  arguments.push_back(interleave.data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  RatioReporter reporter(std::move(pairs), std::move(labels));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

inline int RunWithRatio(int argc, char** argv, const std::string& measured,
                        const std::string& baseline) {
  return RunWithRatios(argc, argv, {{measured, baseline}});
}
