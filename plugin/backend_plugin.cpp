// The plugin object, its forwarding to the core, and the three plain
// functions of its callback table.
#include "plugin/backend_plugin.h"

#include "builtins/builtin_vocabulary.h"
#include "diagnostics/framework_allocator.h"
#include "diagnostics/log_message.h"
#include "plugin/memory_stats.h"
#include "plugin/user_agent.h"

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
  SetBindingContext(context_.get());
}

BackendPlugin::~BackendPlugin() {
  SetBindingContext(nullptr);
  context_.reset();
  identity_ = PluginIdentity{};
  logTarget_.reset();
  coreVersion_ = PluginApiVersion{};
  ReleaseLogging();
}

const CoreFunctions* BackendPlugin::Functions() const { return core_ == nullptr ? nullptr : core_->functions; }

void BackendPlugin::SendRequest(ResponseRecord* response, IncomingRequest* request) {
  if (const CoreFunctions* functions = Functions(); functions != nullptr) {
    functions->SendRequest(functions, response, request);
  }
}

uintptr_t BackendPlugin::CallCoreSlot1(uintptr_t first, uintptr_t second) {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot1(functions, first, second);
}

uintptr_t BackendPlugin::CallCoreSlot2(uintptr_t word) {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot2(functions, word);
}

void BackendPlugin::SubscribeEvent(const char* name, uintptr_t coreContext, CoreEventDelivery deliver,
                                   void* deliveryContext, uint32_t flag) {
  if (const CoreFunctions* functions = Functions(); functions != nullptr) {
    functions->SubscribeEvent(functions, name, coreContext, deliver, deliveryContext, flag);
  }
}

void BackendPlugin::UnsubscribeEvent(const char* name, uintptr_t coreContext) {
  if (const CoreFunctions* functions = Functions(); functions != nullptr) {
    functions->UnsubscribeEvent(functions, name, coreContext);
  }
}

uintptr_t BackendPlugin::CallCoreSlot5(uintptr_t first, uintptr_t second, uintptr_t third, double real,
                                       uintptr_t fourth) {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot5(functions, first, second, third, real, fourth);
}

uintptr_t BackendPlugin::CallCoreSlot6() {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot6(functions);
}

uintptr_t BackendPlugin::CallCoreSlot7(const std::string& text, uintptr_t word) {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot7(functions, text.c_str(), word);
}

uintptr_t BackendPlugin::CallCoreSlot8() {
  const CoreFunctions* functions = Functions();
  return functions == nullptr ? 0 : functions->Slot8(functions);
}

void BackendPlugin::RegisterApi() {}

bool BackendPlugin::OnInitialized() { return true; }

uint8_t BackendPlugin::Initialize(CoreInterface* core) {
  if (core == nullptr || core->functions == nullptr) return 0;
  core_ = core;
  InstallPluginLogTarget(core->functions, logTarget_);
  const uintptr_t coreContext = core->coreContext;
  std::string userAgent = FormUserAgent(coreVersion_, identity_.shortName);
  StartCoreServices(coreContext, std::move(userAgent));
  return OnInitialized() ? 1 : 0;
}

}  // namespace zun
