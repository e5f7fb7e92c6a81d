#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The console report followed by the ratio of the medians of two benchmarks run in the same
// program, the measured one over its baseline. RunWithRatio runs them in random interleaving.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter(std::string measured, std::string baseline)
      : measured(std::move(measured)), baseline(std::move(baseline)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    double top = medians[measured];
    double bottom = medians[baseline];
    if (top > 0 && bottom > 0)
      std::printf("Median ratio %s / %s: %.3f\n", measured.c_str(), baseline.c_str(), top / bottom);
  }

 private:
  std::string measured;
  std::string baseline;
  std::map<std::string, double> medians;
};

// Runs the program's benchmarks, interleaved at random so that a change of the machine's load
// touches both alike, and closes with the ratio of measured over baseline.
inline int RunWithRatio(int argc, char** argv, const std::string& measured,
                        const std::string& baseline) {
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  arguments.push_back(interleave.data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  RatioReporter reporter(measured, baseline);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
