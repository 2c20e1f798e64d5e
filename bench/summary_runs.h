// Which benchmark runs feed a program's summary table. A single run does;
// with --benchmark_repetitions=N the median does, arriving after the single
// runs and replacing them, which steadies the ratios on a shared machine.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace zun::bench {

using Run = benchmark::BenchmarkReporter::Run;

[[nodiscard]] inline bool FeedsSummary(const Run& run) {
  return run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
}

// The benchmark's name without the aggregate's suffix.
[[nodiscard]] inline std::string SummaryName(const Run& run) { return run.run_name.str(); }

}  // namespace zun::bench
