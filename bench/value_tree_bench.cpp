// Building and destroying value trees: our BindingProperty against the DOMs
// of RapidJSON and nlohmann::json, fed the same recorded parse events so that
// tokenizing is not measured. Reports time per document and bytes held per
// input byte, with ratios in a final summary.
// The project's RapidJSON settings come before any RapidJSON header.
#include "formats/rapidjson_config.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <rapidjson/document.h>
#include <rapidjson/reader.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_documents.h"
#include "bench/summary_runs.h"
#include "binding/binding_property.h"

namespace {

using zun::BindingProperty;

// One recorded parse event; texts point into the recording's own storage.
struct Event {
  enum class Type : uint8_t { Null, Bool, Signed, Unsigned, Float, String, Key, StartObject, EndObject, StartArray, EndArray };
  Type type;
  union {
    bool boolean;
    int64_t signedValue;
    uint64_t unsignedValue;
    double floatValue;
    uint32_t text;   // index into Recording::texts
    uint32_t count;  // members or elements of a closed container
  };
};

struct Recording {
  std::string name;
  size_t inputBytes = 0;
  std::vector<Event> events;
  std::vector<std::string> texts;
};

class Recorder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Recorder> {
 public:
  explicit Recorder(Recording& recording) : recording_(recording) {}

  bool Null() { return Push(Event::Type::Null); }
  bool Bool(bool value) { return Push(Event::Type::Bool, [&](Event& e) { e.boolean = value; }); }
  bool Int(int value) { return Int64(value); }
  bool Int64(int64_t value) { return Push(Event::Type::Signed, [&](Event& e) { e.signedValue = value; }); }
  bool Uint(unsigned value) { return Uint64(value); }
  bool Uint64(uint64_t value) {
    return Push(Event::Type::Unsigned, [&](Event& e) { e.unsignedValue = value; });
  }
  bool Double(double value) { return Push(Event::Type::Float, [&](Event& e) { e.floatValue = value; }); }
  bool String(const char* text, rapidjson::SizeType length, bool) { return Text(Event::Type::String, text, length); }
  bool Key(const char* text, rapidjson::SizeType length, bool) { return Text(Event::Type::Key, text, length); }
  bool StartObject() { return Push(Event::Type::StartObject); }
  bool EndObject(rapidjson::SizeType count) {
    return Push(Event::Type::EndObject, [&](Event& e) { e.count = count; });
  }
  bool StartArray() { return Push(Event::Type::StartArray); }
  bool EndArray(rapidjson::SizeType count) {
    return Push(Event::Type::EndArray, [&](Event& e) { e.count = count; });
  }

 private:
  template <typename Fill = void (*)(Event&)>
  bool Push(Event::Type type, Fill fill = [](Event&) {}) {
    Event event{};
    event.type = type;
    fill(event);
    recording_.events.push_back(event);
    return true;
  }
  bool Text(Event::Type type, const char* text, size_t length) {
    recording_.texts.emplace_back(text, length);
    const auto index = static_cast<uint32_t>(recording_.texts.size() - 1);
    return Push(type, [&](Event& e) { e.text = index; });
  }

  Recording& recording_;
};

const Recording& Load(const std::string& name) {
  static std::map<std::string, Recording> recordings;
  auto found = recordings.find(name);
  if (found != recordings.end()) return found->second;
  const std::string& json = zun::bench::Document(name);
  Recording& recording = recordings[name];
  recording.name = name;
  recording.inputBytes = json.size();
  Recorder recorder(recording);
  rapidjson::Reader reader;
  rapidjson::StringStream stream(json.c_str());
  if (json.empty() || reader.Parse(stream, recorder).IsError()) {
    std::fprintf(stderr, "cannot read %s\n", name.c_str());
    std::exit(1);
  }
  return recording;
}

// (a) Our tree, through the public setters.
void BuildBinding(const Recording& recording, BindingProperty& root) {
  std::vector<BindingProperty*> open;
  BindingProperty* target = &root;
  auto next = [&]() -> BindingProperty& {
    if (!open.empty() && open.back()->Kind() == zun::BindingKind::Collection) return open.back()->Append();
    return *target;
  };
  for (const Event& event : recording.events) {
    switch (event.type) {
      case Event::Type::Null: (void)next(); break;
      case Event::Type::Bool: next().SetBool(event.boolean); break;
      case Event::Type::Signed: next().SetSigned(event.signedValue); break;
      case Event::Type::Unsigned: next().SetUnsigned(event.unsignedValue); break;
      case Event::Type::Float: next().SetFloat(event.floatValue); break;
      case Event::Type::String: next().SetString(recording.texts[event.text]); break;
      case Event::Type::Key: target = &open.back()->Member(recording.texts[event.text]); break;
      case Event::Type::StartObject: {
        BindingProperty& value = next();
        value.MakeStructure();
        open.push_back(&value);
        break;
      }
      case Event::Type::StartArray: {
        BindingProperty& value = next();
        value.MakeCollection();
        open.push_back(&value);
        break;
      }
      case Event::Type::EndObject:
      case Event::Type::EndArray: open.pop_back(); break;
    }
  }
}

// (b) RapidJSON's document, which is itself a SAX handler.
struct RapidJsonReplay {
  const Recording& recording;
  template <typename Handler>
  bool operator()(Handler& handler) const {
    for (const Event& event : recording.events) {
      switch (event.type) {
        case Event::Type::Null: handler.Null(); break;
        case Event::Type::Bool: handler.Bool(event.boolean); break;
        case Event::Type::Signed: handler.Int64(event.signedValue); break;
        case Event::Type::Unsigned: handler.Uint64(event.unsignedValue); break;
        case Event::Type::Float: handler.Double(event.floatValue); break;
        case Event::Type::String: {
          const std::string& text = recording.texts[event.text];
          handler.String(text.data(), static_cast<rapidjson::SizeType>(text.size()), true);
          break;
        }
        case Event::Type::Key: {
          const std::string& text = recording.texts[event.text];
          handler.Key(text.data(), static_cast<rapidjson::SizeType>(text.size()), true);
          break;
        }
        case Event::Type::StartObject: handler.StartObject(); break;
        case Event::Type::EndObject: handler.EndObject(event.count); break;
        case Event::Type::StartArray: handler.StartArray(); break;
        case Event::Type::EndArray: handler.EndArray(event.count); break;
      }
    }
    return true;
  }
};

void BuildRapidJson(const Recording& recording, rapidjson::Document& document) {
  RapidJsonReplay replay{recording};
  document.Populate(replay);
}

// (c) nlohmann::json through its own SAX DOM builder.
void BuildNlohmann(const Recording& recording, nlohmann::json& document) {
  nlohmann::detail::json_sax_dom_parser<nlohmann::json> sax(document, false);
  std::vector<std::string>& texts = const_cast<std::vector<std::string>&>(recording.texts);
  for (const Event& event : recording.events) {
    switch (event.type) {
      case Event::Type::Null: sax.null(); break;
      case Event::Type::Bool: sax.boolean(event.boolean); break;
      case Event::Type::Signed: sax.number_integer(event.signedValue); break;
      case Event::Type::Unsigned: sax.number_unsigned(event.unsignedValue); break;
      case Event::Type::Float: sax.number_float(event.floatValue, texts[0]); break;
      case Event::Type::String: sax.string(texts[event.text]); break;
      case Event::Type::Key: sax.key(texts[event.text]); break;
      case Event::Type::StartObject: sax.start_object(static_cast<size_t>(-1)); break;
      case Event::Type::EndObject: sax.end_object(); break;
      case Event::Type::StartArray: sax.start_array(static_cast<size_t>(-1)); break;
      case Event::Type::EndArray: sax.end_array(); break;
    }
  }
}

template <typename Tree, typename Build>
double BytesPerInputByte(const Recording& recording, Build build) {
  malloc_trim(0);
  const size_t before = zun::bench::HeldBytes();
  double ratio = 0;
  {
    Tree tree;
    build(recording, tree);
    ratio = static_cast<double>(zun::bench::HeldBytes() - before) / static_cast<double>(recording.inputBytes);
  }
  return ratio;
}

struct Figures {
  double nanoseconds = 0;
  double bytesPerInputByte = 0;
};
std::map<std::string, std::map<std::string, Figures>> gFigures;  // document -> builder -> figures

template <typename Tree, typename Build>
void RunBuild(benchmark::State& state, const std::string& document, const char* builder, Build build) {
  const Recording& recording = Load(document);
  for (auto _ : state) {
    Tree tree;
    build(recording, tree);
    benchmark::DoNotOptimize(&tree);
  }
  const double perInput = BytesPerInputByte<Tree>(recording, build);
  state.counters["held_per_input_byte"] = perInput;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * recording.inputBytes));
  gFigures[document][builder].bytesPerInputByte = perInput;
}

const char* const kDocuments[] = {"twitter.json", "citm_catalog.json", "canada.json"};

void RegisterAll() {
  for (const char* document : kDocuments) {
    const std::string name = document;
    benchmark::RegisterBenchmark(("BindingProperty/" + name).c_str(), [name](benchmark::State& state) {
      RunBuild<BindingProperty>(state, name, "BindingProperty", BuildBinding);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("RapidJsonDocument/" + name).c_str(), [name](benchmark::State& state) {
      RunBuild<rapidjson::Document>(state, name, "RapidJsonDocument", BuildRapidJson);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("NlohmannJson/" + name).c_str(), [name](benchmark::State& state) {
      RunBuild<nlohmann::json>(state, name, "NlohmannJson", BuildNlohmann);
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
      const std::string builder = name.substr(0, slash);
      const std::string document = name.substr(slash + 1);
      gFigures[document][builder].nanoseconds = run.GetAdjustedCPUTime() * 1e6;  // ms; CPU time: the machine may be shared
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSummary() {
  std::printf("\n%-18s %-18s %10s %12s %14s %12s\n", "document", "builder", "ms", "vs nlohmann",
              "held/input B", "vs nlohmann");
  for (const char* document : kDocuments) {
    auto& byBuilder = gFigures[document];
    const Figures& reference = byBuilder["NlohmannJson"];
    for (const char* builder : {"BindingProperty", "RapidJsonDocument", "NlohmannJson"}) {
      const Figures& figures = byBuilder[builder];
      if (figures.nanoseconds == 0) continue;
      std::printf("%-18s %-18s %10.3f %11.2fx %14.2f %11.2fx\n", document, builder, figures.nanoseconds / 1e6,
                  reference.nanoseconds / figures.nanoseconds, figures.bytesPerInputByte,
                  figures.bytesPerInputByte / reference.bytesPerInputByte);
    }
  }
  std::printf("(time ratio: nlohmann time / builder time, higher is faster; memory ratio: builder / nlohmann)\n");
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
