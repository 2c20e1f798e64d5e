// FormatText against snprintf (raw, and with the std::string a caller would build)
// and against fmt::format, on a three-argument message; ratios to snprintf at the end.
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "diagnostics/format_text.h"

namespace {

const std::string kArgumentName = "pageSize";
const std::string kFunctionName = "GetRecentMatches";
const int kPosition = 1234;

void BM_FormatText(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = zun::FormatText("Unknown argument '%1' for '%2' at %3.", kArgumentName,
                                       kFunctionName, kPosition);
    benchmark::DoNotOptimize(text);
  }
}

void BM_SnprintfRaw(benchmark::State& state) {
  for (auto _ : state) {
    char buffer[4096];
    const int length = std::snprintf(buffer, sizeof buffer, "Unknown argument '%s' for '%s' at %d.",
                                     kArgumentName.c_str(), kFunctionName.c_str(), kPosition);
    benchmark::DoNotOptimize(buffer);
    benchmark::DoNotOptimize(length);
  }
}

void BM_SnprintfString(benchmark::State& state) {
  for (auto _ : state) {
    char buffer[4096];
    const int length = std::snprintf(buffer, sizeof buffer, "Unknown argument '%s' for '%s' at %d.",
                                     kArgumentName.c_str(), kFunctionName.c_str(), kPosition);
    std::string text(buffer, static_cast<size_t>(length));
    benchmark::DoNotOptimize(text);
  }
}

void BM_FmtFormat(benchmark::State& state) {
  for (auto _ : state) {
    std::string text =
        fmt::format("Unknown argument '{}' for '{}' at {}.", kArgumentName, kFunctionName, kPosition);
    benchmark::DoNotOptimize(text);
  }
}

BENCHMARK(BM_FormatText);
BENCHMARK(BM_SnprintfRaw);
BENCHMARK(BM_SnprintfString);
BENCHMARK(BM_FmtFormat);

// Times one body in the same process for the summary line, best of several rounds.
double NanosecondsPerCall(const std::function<void()>& body) {
  constexpr int kCalls = 200000;
  double best = 1e30;
  for (int round = 0; round < 7; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) body();
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count() / kCalls);
  }
  return best;
}

void PrintRatios() {
  const double ours = NanosecondsPerCall([] {
    std::string text = zun::FormatText("Unknown argument '%1' for '%2' at %3.", kArgumentName,
                                       kFunctionName, kPosition);
    benchmark::DoNotOptimize(text);
  });
  const double raw = NanosecondsPerCall([] {
    char buffer[4096];
    const int length = std::snprintf(buffer, sizeof buffer, "Unknown argument '%s' for '%s' at %d.",
                                     kArgumentName.c_str(), kFunctionName.c_str(), kPosition);
    benchmark::DoNotOptimize(buffer);
    benchmark::DoNotOptimize(length);
  });
  const double withString = NanosecondsPerCall([] {
    char buffer[4096];
    const int length = std::snprintf(buffer, sizeof buffer, "Unknown argument '%s' for '%s' at %d.",
                                     kArgumentName.c_str(), kFunctionName.c_str(), kPosition);
    std::string text(buffer, static_cast<size_t>(length));
    benchmark::DoNotOptimize(text);
  });
  const double library = NanosecondsPerCall([] {
    std::string text =
        fmt::format("Unknown argument '{}' for '{}' at {}.", kArgumentName, kFunctionName, kPosition);
    benchmark::DoNotOptimize(text);
  });
  std::printf("\nns per call: FormatText %.1f, snprintf %.1f, snprintf+string %.1f, fmt::format %.1f\n",
              ours, raw, withString, library);
  std::printf("FormatText / (snprintf+string) = %.2f, FormatText / snprintf = %.2f, "
              "fmt::format / (snprintf+string) = %.2f\n",
              ours / withString, ours / raw, library / withString);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
