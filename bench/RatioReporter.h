#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The console report followed by the ratio of the medians of two benchmarks run in the same
// program, the measured one over its baseline.
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
