// The plugin object and the three plain functions of its callback table.
#include "plugin/backend_plugin.h"

#include "builtins/builtin_vocabulary.h"
#include "diagnostics/framework_allocator.h"
#include "diagnostics/log_message.h"
#include "plugin/memory_stats.h"

namespace zun {

namespace {

uint8_t InitializeEntry(void* plugin, CoreInterface* core) {
  return static_cast<BackendPlugin*>(plugin)->Initialize(core);
}

void UnloadEntry(void* plugin) {
  auto* backend = static_cast<BackendPlugin*>(plugin);
  backend->Stop();
  FrameworkDelete(backend);
}

void GetMemoryStatsEntry(void* /*plugin*/, PluginMemoryStats* stats) { FillMemoryStats(stats); }

}  // namespace

BackendPlugin::BackendPlugin()
    : context_(std::make_unique<BindingContext>()), callbacks_{InitializeEntry, UnloadEntry, GetMemoryStatsEntry} {
  AcquireLogging();
  RegisterBuiltins(*context_);
}

BackendPlugin::~BackendPlugin() {
  context_.reset();
  ReleaseLogging();
}

void BackendPlugin::Stop() {}

void BackendPlugin::RegisterApi() {}

bool BackendPlugin::OnInitialized() { return true; }

uint8_t BackendPlugin::Initialize(CoreInterface* core) {
  core_ = core;
  return OnInitialized() ? 1 : 0;
}

}  // namespace zun
