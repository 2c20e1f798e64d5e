// The MessagePack reader against msgpack-c's msgpack::unpack (which builds its
// own object tree in a zone) on the standard documents, in one run. Prints
// MB/s (10^6 bytes), the ratio, and the bytes each tree holds per input byte.
#define MSGPACK_NO_BOOST
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <msgpack.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_documents.h"
#include "bench/summary_runs.h"
#include "formats/msgpack_reader.h"

namespace {

const char* const kDocuments[] = {"twitter.msgpack", "citm_catalog.msgpack", "canada.msgpack"};
const char* const kReaders[] = {"DeserializeMessagePack", "MsgpackUnpack"};


zun::BindingResult ParseOurs(const std::string& body) {
  zun::MessagePackReadResult read =
      zun::DeserializeMessagePack(reinterpret_cast<const uint8_t*>(body.data()), static_cast<uint32_t>(body.size()));
  if (!read.result.Ok() || read.consumed != body.size()) std::abort();
  return std::move(read.result);
}

msgpack::object_handle ParseMsgpackC(const std::string& body) { return msgpack::unpack(body.data(), body.size()); }

struct Figures {
  double seconds = 0;
  double heldPerInputByte = 0;
};
std::map<std::string, std::map<std::string, Figures>> gFigures;  // document -> reader -> figures

template <typename Parse>
void Measure(benchmark::State& state, const std::string& document, const char* reader, Parse parse) {
  const std::string& body = zun::bench::Document(document);
  for (auto _ : state) {
    auto tree = parse(body);
    benchmark::DoNotOptimize(&tree);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
  gFigures[document][reader].heldPerInputByte = zun::bench::HeldPerInputByte(body.size(), [&] { return parse(body); });
  state.counters["held_per_input_byte"] = gFigures[document][reader].heldPerInputByte;
}

void RegisterAll() {
  for (const char* document : kDocuments) {
    const std::string name = document;
    benchmark::RegisterBenchmark(("DeserializeMessagePack/" + name).c_str(), [name](benchmark::State& state) {
      Measure(state, name, "DeserializeMessagePack", ParseOurs);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("MsgpackUnpack/" + name).c_str(), [name](benchmark::State& state) {
      Measure(state, name, "MsgpackUnpack", ParseMsgpackC);
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
  std::printf("\n%-22s %-24s %9s %14s %14s\n", "document", "reader", "MB/s", "vs unpack", "held/input B");
  for (const char* document : kDocuments) {
    auto& byReader = gFigures[document];
    const double size = static_cast<double>(zun::bench::Document(document).size());
    for (const char* reader : kReaders) {
      const Figures& figures = byReader[reader];
      if (figures.seconds == 0) continue;
      std::printf("%-22s %-24s %9.0f %13.2fx %14.2f\n", document, reader, size / figures.seconds / 1e6,
                  byReader["MsgpackUnpack"].seconds / figures.seconds, figures.heldPerInputByte);
    }
  }
  std::printf("(ratio: msgpack::unpack's time / this reader's time, higher is faster)\n");
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
