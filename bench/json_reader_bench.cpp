// The JSON reader against RapidJSON on the standard documents, in one run:
// its Document::Parse (same tokenizer, a DOM of its own) and its SAX reader
// with a handler that does nothing (the floor any reader on that tokenizer
// can reach). Prints MB/s (10^6 bytes), the ratios, and the bytes each tree
// holds per input byte.
#include "formats/rapidjson_config.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <rapidjson/document.h>
#include <rapidjson/reader.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_documents.h"
#include "bench/summary_runs.h"
#include "formats/json_reader.h"

namespace {

const char* const kDocuments[] = {"twitter.json", "citm_catalog.json", "canada.json"};
const char* const kReaders[] = {"DeserializeJson", "RapidJsonDocument", "RapidJsonSaxNull"};


zun::BindingResult ParseOurs(const std::string& text) {
  zun::BindingResult result = zun::DeserializeJson(text.c_str());
  if (!result.Ok()) std::abort();
  return result;
}

std::unique_ptr<rapidjson::Document> ParseDocument(const std::string& text) {
  auto document = std::make_unique<rapidjson::Document>();
  document->Parse<rapidjson::kParseNoFlags>(text.c_str());
  if (document->HasParseError()) std::abort();
  return document;
}

bool ParseSaxNull(const std::string& text) {
  rapidjson::BaseReaderHandler<> handler;
  rapidjson::Reader reader;
  rapidjson::StringStream stream(text.c_str());
  return !reader.Parse<rapidjson::kParseNoFlags>(stream, handler).IsError();
}

struct Figures {
  double seconds = 0;
  double heldPerInputByte = 0;
};
std::map<std::string, std::map<std::string, Figures>> gFigures;  // document -> reader -> figures

template <typename Parse>
void Measure(benchmark::State& state, const std::string& document, const char* reader, Parse parse) {
  const std::string& text = zun::bench::Document(document);
  for (auto _ : state) {
    auto tree = parse(text);
    benchmark::DoNotOptimize(&tree);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  if constexpr (!std::is_same_v<decltype(parse(text)), bool>) {
    gFigures[document][reader].heldPerInputByte = zun::bench::HeldPerInputByte(text.size(), [&] { return parse(text); });
    state.counters["held_per_input_byte"] = gFigures[document][reader].heldPerInputByte;
  }
}

void RegisterAll() {
  for (const char* document : kDocuments) {
    const std::string name = document;
    benchmark::RegisterBenchmark(("DeserializeJson/" + name).c_str(), [name](benchmark::State& state) {
      Measure(state, name, "DeserializeJson", ParseOurs);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("RapidJsonDocument/" + name).c_str(), [name](benchmark::State& state) {
      Measure(state, name, "RapidJsonDocument", ParseDocument);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("RapidJsonSaxNull/" + name).c_str(), [name](benchmark::State& state) {
      Measure(state, name, "RapidJsonSaxNull", ParseSaxNull);
    })->Unit(benchmark::kMillisecond);
  }
}

// Keeps each run's time for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!zun::bench::FeedsSummary(run)) continue;
      const std::string name = zun::bench::SummaryName(run);
      const size_t slash = name.find('/');
      gFigures[name.substr(slash + 1)][name.substr(0, slash)].seconds = run.GetAdjustedCPUTime() / 1e3;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSummary() {
  std::printf("\n%-18s %-18s %9s %12s %12s %14s\n", "document", "reader", "MB/s", "vs Document", "vs SAX null",
              "held/input B");
  for (const char* document : kDocuments) {
    auto& byReader = gFigures[document];
    const double size = static_cast<double>(zun::bench::Document(document).size());
    for (const char* reader : kReaders) {
      const Figures& figures = byReader[reader];
      if (figures.seconds == 0) continue;
      std::printf("%-18s %-18s %9.0f %11.2fx %11.2fx %14.2f\n", document, reader, size / figures.seconds / 1e6,
                  byReader["RapidJsonDocument"].seconds / figures.seconds,
                  byReader["RapidJsonSaxNull"].seconds / figures.seconds, figures.heldPerInputByte);
    }
  }
  std::printf("(ratios: the anchor's time / this reader's time, higher is faster)\n");
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary();
  benchmark::Shutdown();
  return 0;
}
