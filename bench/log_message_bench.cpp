// Cost of a log call that the filters drop: ours by level and by muted group,
// beside a level-dropped call of spdlog (when its headers are installed) and
// an empty out-of-line call as the floor. Ends with a summary of the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "diagnostics/log_message.h"

#if __has_include(<spdlog/spdlog.h>) && __has_include(<fmt/format.h>)
#define SPDLOG_FMT_EXTERNAL
#include <spdlog/logger.h>
#include <spdlog/sinks/null_sink.h>
#define ZUN_BENCH_HAS_SPDLOG 1
#endif

namespace {

[[gnu::noinline]] void EmptyCall(zun::LogLevel level, zun::LogGroupMask groups, const char* format, int value) {
  benchmark::DoNotOptimize(level);
  benchmark::DoNotOptimize(groups);
  benchmark::DoNotOptimize(format);
  benchmark::DoNotOptimize(value);
}

void BM_EmptyCallFloor(benchmark::State& state) {
  int value = 0;
  for (auto _ : state) EmptyCall(zun::LogLevel::Okay, zun::log_groups::DBG, "value %d", ++value);
}
BENCHMARK(BM_EmptyCallFloor);

void BM_ZunDroppedByLevel(benchmark::State& state) {
  zun::AcquireLogging();  // defaults: minimum Warn, XTR muted
  int value = 0;
  for (auto _ : state) zun::LogMessage(zun::LogLevel::Okay, zun::log_groups::DBG, "value %d", ++value);
  zun::ReleaseLogging();
}
BENCHMARK(BM_ZunDroppedByLevel);

void BM_ZunDroppedByMutedGroup(benchmark::State& state) {
  zun::AcquireLogging();
  int value = 0;
  for (auto _ : state) zun::LogMessage(zun::LogLevel::Error, zun::log_groups::XTR, "value %d", ++value);
  zun::ReleaseLogging();
}
BENCHMARK(BM_ZunDroppedByMutedGroup);

#ifdef ZUN_BENCH_HAS_SPDLOG
void BM_SpdlogDroppedByLevel(benchmark::State& state) {
  spdlog::logger logger("bench", std::make_shared<spdlog::sinks::null_sink_st>());
  logger.set_level(spdlog::level::warn);
  int value = 0;
  for (auto _ : state) logger.debug("value {}", ++value);
}
BENCHMARK(BM_SpdlogDroppedByLevel);
#endif

// Keeps each benchmark's CPU time per iteration for the closing summary (CPU
// time, because the build machine is shared and wall time swings with load).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions, the median stands for the benchmark.
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || median) nanoseconds_[run.run_name.str()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintSummary() const {
    const double floor = Get("BM_EmptyCallFloor");
    const double baseline = Get("BM_SpdlogDroppedByLevel");
    std::printf("\nDropped log call, CPU ns per call (ratio to the empty call%s):\n",
                baseline > 0 ? "; ratio to spdlog" : "");
    for (const auto& [name, nanoseconds] : nanoseconds_) {
      std::printf("  %-28s %7.2f ns  x%.2f floor", name.c_str(), nanoseconds, floor > 0 ? nanoseconds / floor : 0.0);
      if (baseline > 0) std::printf("  x%.2f spdlog", nanoseconds / baseline);
      std::printf("\n");
    }
  }

 private:
  [[nodiscard]] double Get(const std::string& name) const {
    const auto found = nanoseconds_.find(name);
    return found == nanoseconds_.end() ? 0.0 : found->second;
  }

  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
