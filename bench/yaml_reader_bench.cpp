// DeserializeYaml against yaml-cpp's YAML::Load (what a user would otherwise
// pick) and against a bare libyaml event loop that builds nothing (the floor),
// on three documents; MB/s per run and the ratios at the end.
#include <benchmark/benchmark.h>
#include <yaml-cpp/yaml.h>
#include <yaml.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_documents.h"
#include "bench/summary_runs.h"
#include "formats/yaml_reader.h"

namespace {

const char* const kDocuments[] = {"twitter", "citm_catalog", "canada"};

const std::string& Document(const std::string& name) { return zun::bench::Document(name + ".yaml"); }

// Parses every event and builds nothing; false on a parser error.
bool BareEventLoop(const std::string& text, size_t& events) {
  yaml_parser_t parser;
  if (yaml_parser_initialize(&parser) == 0) return false;
  yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
  yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.c_str()), text.size());
  yaml_event_t event;
  bool ok = true;
  for (;;) {
    if (yaml_parser_parse(&parser, &event) == 0) {
      ok = false;
      break;
    }
    ++events;
    const bool end = event.type == YAML_STREAM_END_EVENT;
    yaml_event_delete(&event);
    if (end) break;
  }
  yaml_parser_delete(&parser);
  return ok;
}

void BM_DeserializeYaml(benchmark::State& state, const std::string& name) {
  const std::string& text = Document(name);
  for (auto _ : state) {
    zun::BindingResult result = zun::DeserializeYaml(text);
    if (!result.Ok()) state.SkipWithError("DeserializeYaml failed");
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_YamlCppLoad(benchmark::State& state, const std::string& name) {
  const std::string& text = Document(name);
  for (auto _ : state) {
    YAML::Node node = YAML::Load(text);
    benchmark::DoNotOptimize(node);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_BareLibyamlLoop(benchmark::State& state, const std::string& name) {
  const std::string& text = Document(name);
  for (auto _ : state) {
    size_t events = 0;
    if (!BareEventLoop(text, events)) state.SkipWithError("libyaml failed");
    benchmark::DoNotOptimize(events);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Keeps each run's rate so the summary can divide them.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (zun::bench::FeedsSummary(run) && run.iterations > 0) {
        bytes_[zun::bench::SummaryName(run)] = run.counters.count("bytes_per_second") != 0
                                           ? static_cast<double>(run.counters.at("bytes_per_second"))
                                           : 0.0;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintSummary() const {
    std::printf("\n%-14s %12s %12s %12s %14s %14s\n", "document", "ours MB/s", "yaml-cpp", "libyaml",
                "ours/yaml-cpp", "ours/libyaml");
    for (const char* name : kDocuments) {
      const double ours = Rate("BM_DeserializeYaml/", name);
      const double library = Rate("BM_YamlCppLoad/", name);
      const double floor = Rate("BM_BareLibyamlLoop/", name);
      if (ours == 0 || library == 0 || floor == 0) continue;
      std::printf("%-14s %12.1f %12.1f %12.1f %13.2fx %13.2fx\n", name, ours, library, floor, ours / library,
                  ours / floor);
    }
  }

 private:
  double Rate(const std::string& prefix, const std::string& name) const {
    const auto found = bytes_.find(prefix + name);
    return found != bytes_.end() ? found->second / 1e6 : 0.0;
  }

  std::map<std::string, double> bytes_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const char* name : kDocuments) {
    benchmark::RegisterBenchmark((std::string("BM_DeserializeYaml/") + name).c_str(), BM_DeserializeYaml,
                                 std::string(name))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_YamlCppLoad/") + name).c_str(), BM_YamlCppLoad,
                                 std::string(name))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_BareLibyamlLoop/") + name).c_str(), BM_BareLibyamlLoop,
                                 std::string(name))
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.PrintSummary();
  return 0;
}
