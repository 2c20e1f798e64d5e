// The flat value form of the core boundary: converting the twitter document's
// tree to the flat form and back, against building the tree from its text,
// and one resource event delivered from a CoreEvent to its handler.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/bench_documents.h"
#include "binding/binding_property.h"
#include "formats/json_reader.h"
#include "plugin/backend_plugin.h"
#include "plugin/core_interface.h"
#include "plugin/flat_value_conversion.h"
#include "plugin/plugin_handshake.h"

namespace {

using namespace zun;

const std::string& TwitterText() { return zun::bench::Document("twitter.json"); }

const BindingProperty& TwitterTree() {
  static const BindingProperty tree = [] {
    BindingResult result = DeserializeJson(TwitterText());
    if (!result.Ok()) std::fprintf(stderr, "twitter.json did not read\n");
    return BindingProperty(std::move(result.Value()));
  }();
  return tree;
}

void BM_BuildTreeFromText(benchmark::State& state) {
  const std::string& text = TwitterText();
  for (auto _ : state) {
    BindingResult result = DeserializeJson(text);
    benchmark::DoNotOptimize(result.Value().Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_BuildTreeFromText)->Unit(benchmark::kMicrosecond);

void BM_ValueToFlat(benchmark::State& state) {
  const BindingProperty& tree = TwitterTree();
  for (auto _ : state) {
    FlatValue flat = EmptyFlatValue();
    ValueToFlat(flat, tree, nullptr);
    benchmark::DoNotOptimize(flat.kind);
    ReleaseFlatValue(flat);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TwitterText().size()));
}
BENCHMARK(BM_ValueToFlat)->Unit(benchmark::kMicrosecond);

void BM_FlatToValue(benchmark::State& state) {
  FlatValue flat = EmptyFlatValue();
  ValueToFlat(flat, TwitterTree(), nullptr);
  for (auto _ : state) {
    FlatStatus status{EmptyFlatValue(), nullptr, 0};
    BindingProperty tree;
    if (!FlatToValue(status, tree, flat, "<result>")) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(tree.Size());
  }
  ReleaseFlatValue(flat);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TwitterText().size()));
}
BENCHMARK(BM_FlatToValue)->Unit(benchmark::kMicrosecond);

// A core that keeps the one delivery function it is given for each name.
struct BenchCore {
  CoreFunctions functions{};
  CoreEventDelivery deliver = nullptr;
  void* deliveryContext = nullptr;
  std::string wanted;
};

BenchCore* benchCore = nullptr;

void Subscribe(const CoreFunctions*, const char* name, uintptr_t, CoreEventDelivery deliver, void* context,
               uint32_t) {
  if (benchCore->wanted == name) {
    benchCore->deliver = deliver;
    benchCore->deliveryContext = context;
  }
}
void Unsubscribe(const CoreFunctions*, const char*, uintptr_t) {}
void Log(const CoreFunctions*, int32_t, const char*) {}

void BM_ResourceEventEndToEnd(benchmark::State& state) {
  BenchCore core;
  core.functions.SubscribeEvent = Subscribe;
  core.functions.UnsubscribeEvent = Unsubscribe;
  core.functions.Log = Log;
  core.wanted = "OnJsonApiEvent_zun-parties_api_parties";
  benchCore = &core;
  CoreInterface interface{&core.functions, 1};

  PluginHandshake handshake{18, 0, 0, nullptr, nullptr, nullptr, nullptr};
  load_zun_parties(&handshake);
  const PluginCallbacks* callbacks = handshake.callbacks;
  void* plugin = handshake.plugin;
  callbacks->Initialize(plugin, &interface);
  auto& backend = *static_cast<BackendPlugin*>(plugin);
  int64_t handled = 0;
  backend.SetResourcePatternHandler("/zun-parties/api/parties/*",
                                    [&](const Client::PluginResourceEvent& event) { handled += event.eventType; });
  backend.Subscribe("/zun-parties/api/parties/7");

  BindingProperty payload;
  payload.Member("uri").SetString("/zun-parties/api/parties/7");
  payload.Member("eventType").SetString("Update");
  payload.Member("data").Member("name").SetString("Friday raid");
  payload.Member("data").Member("size").SetSigned(5);
  CoreEvent event{};
  event.eventName = core.wanted.c_str();
  event.payload = EmptyFlatValue();
  ValueToFlat(event.payload, payload, nullptr);
  event.deliveryContext = core.deliveryContext;

  for (auto _ : state) core.deliver(&event);
  if (handled != state.iterations()) state.SkipWithError("an event was not handled");
  state.SetItemsProcessed(state.iterations());

  FlatValue owned = event.payload;
  ReleaseFlatValue(owned);
  callbacks->Unload(plugin);
  benchCore = nullptr;
}
BENCHMARK(BM_ResourceEventEndToEnd)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
